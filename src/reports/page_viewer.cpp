#include "reports/page_viewer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace reports {

PageWidget::PageWidget(const RecordedReport& report, QWidget* parent)
    : QWidget(parent), report_(report) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PageWidget::setPage(int index) {
    page_ = index;
    update();
}

int PageWidget::heightForWidth(int width) const {
    const QSizeF size = report_.setup().size;
    return size.width() > 0 ? qRound(width * size.height() / size.width()) : width;
}

void PageWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (page_ < 0 || page_ >= report_.pageCount()) return;
    paintPage(painter, QRectF(rect()), report_.setup(), report_.page(page_), report_.fonts());
}

PageViewer::PageViewer(const RecordedReport& report, const QString& title, QWidget* parent)
    : QDialog(parent), report_(report) {
    setObjectName(QStringLiteral("PageViewer"));
    setWindowTitle(title);
    resize(640, 480);

    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    PrevButton = new QPushButton(QStringLiteral("Prev Page"), this);
    PrevButton->setObjectName(QStringLiteral("PrevButton"));
    NextButton = new QPushButton(QStringLiteral("Next Page"), this);
    NextButton->setObjectName(QStringLiteral("NextButton"));
    PageLabel = new QLabel(this);
    PageLabel->setObjectName(QStringLiteral("PageLabel"));
    DoneButton = new QPushButton(QStringLiteral("Done"), this);
    DoneButton->setObjectName(QStringLiteral("DoneButton"));
    bar->addWidget(PrevButton);
    bar->addWidget(NextButton);
    bar->addWidget(PageLabel, 1);
    bar->addWidget(DoneButton);
    layout->addLayout(bar);

    scroll_ = new QScrollArea(this);
    scroll_->setBackgroundRole(QPalette::Dark);
    view_ = new PageWidget(report_, scroll_);
    scroll_->setWidget(view_);
    layout->addWidget(scroll_, 1);

    connect(PrevButton, &QPushButton::clicked, this, [this] { goToPage(currentPage() - 1); });
    connect(NextButton, &QPushButton::clicked, this, [this] { goToPage(currentPage() + 1); });
    connect(DoneButton, &QPushButton::clicked, this, &QDialog::accept);
    goToPage(0);
}

void PageViewer::goToPage(int index) {
    const int count = report_.pageCount();
    index = std::clamp(index, 0, std::max(0, count - 1));
    view_->setPage(index);
    PageLabel->setText(QStringLiteral("Page %1 of %2").arg(index + 1).arg(std::max(1, count)));
    PrevButton->setEnabled(index > 0);
    NextButton->setEnabled(index + 1 < count);
}

void PageViewer::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    fitPage();
}

void PageViewer::fitPage() {
    // The page fills the view's width with a margin of 2.5 % on each side.
    const int width =
        scroll_->viewport()->width() - scroll_->verticalScrollBar()->sizeHint().width();
    const int pageWidth = std::max(50, static_cast<int>(width * 0.95));
    view_->setFixedSize(pageWidth, view_->heightForWidth(pageWidth));
}

}  // namespace reports
