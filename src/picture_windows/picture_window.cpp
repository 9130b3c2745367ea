#include "picture_windows/picture_window.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTransform>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <cmath>

#include "picture_windows/picture_canvas.h"

namespace picture_windows {

namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

PictureWindow::PictureWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PictureWindow"));
    setWindowTitle(QStringLiteral("Pictures"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    resize(800, 640);
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    previous_ = makeButton(this, "PicturePrevious", QStringLiteral("&Previous"));
    next_ = makeButton(this, "PictureNext", QStringLiteral("&Next"));
    QPushButton* fit = makeButton(this, "PictureFit", QStringLiteral("&Fit"));
    QPushButton* actual = makeButton(this, "PictureActualSize", QStringLiteral("&Actual Size"));
    QPushButton* rotate = makeButton(this, "PictureRotate", QStringLiteral("&Rotate"));
    QPushButton* close = makeButton(this, "PictureClose", QStringLiteral("&Close"));
    zoomLabel_ = new QLabel(this);
    zoomLabel_->setObjectName(QStringLiteral("PictureZoom"));
    zoomLabel_->setMinimumWidth(60);
    for (QWidget* w : {static_cast<QWidget*>(previous_), static_cast<QWidget*>(next_),
                       static_cast<QWidget*>(fit), static_cast<QWidget*>(actual),
                       static_cast<QWidget*>(rotate), static_cast<QWidget*>(zoomLabel_)})
        bar->addWidget(w);
    bar->addStretch(1);
    bar->addWidget(close);
    layout->addLayout(bar);
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("PictureScroll"));
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setWidgetResizable(false);
    scroll_->setBackgroundRole(QPalette::Dark);
    canvas_ = new PictureCanvas;
    scroll_->setWidget(canvas_);
    layout->addWidget(scroll_, 1);

    connect(previous_, &QPushButton::clicked, this, &PictureWindow::previousPicture);
    connect(next_, &QPushButton::clicked, this, &PictureWindow::nextPicture);
    connect(fit, &QPushButton::clicked, this, &PictureWindow::fitToWindow);
    connect(actual, &QPushButton::clicked, this, &PictureWindow::actualSize);
    connect(rotate, &QPushButton::clicked, this, &PictureWindow::rotate);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(canvas_, &PictureCanvas::wheelTurned, this,
            [this](double steps, QPoint at) { zoomBy(steps, at); });
    connect(new QShortcut(QKeySequence(Qt::Key_PageUp), this), &QShortcut::activated, this,
            &PictureWindow::previousPicture);
    connect(new QShortcut(QKeySequence(Qt::Key_PageDown), this), &QShortcut::activated, this,
            &PictureWindow::nextPicture);
    connect(&reading_, &QFutureWatcher<pictures::PictureImage>::finished, this, [this] {
        if (reading_.property("generation").toInt() == generation_) loadedImage(reading_.result());
    });
    updateControls();
}

PictureWindow::~PictureWindow() { reading_.waitForFinished(); }

void PictureWindow::showPictures(const std::vector<pictures::Picture>& list, int position) {
    list_ = list;
    position_ = list_.empty() ? 0 : qBound(0, position, count() - 1);
    load();
}

double PictureWindow::zoom() const { return canvas_->zoom(); }

void PictureWindow::load() {
    rotation_ = 0;
    fit_ = true;
    loaded_ = false;
    reason_.clear();
    original_ = QImage();
    canvas_->setImage(QImage());
    updateControls();
    if (list_.empty()) return;
    const QString path = list_[static_cast<std::size_t>(position_)].path;
    ++generation_;
    reading_.waitForFinished();
    reading_.setProperty("generation", generation_);
    reading_.setFuture(QtConcurrent::run([path] { return pictures::readPicture(path); }));
}

void PictureWindow::loadedImage(const pictures::PictureImage& result) {
    loaded_ = true;
    reason_ = result.reason;
    original_ = result.ok() ? result.image
                            : pictures::placeholderImage(QSize(480, 360), result.reason);
    canvas_->setImage(original_);
    fitToWindow();
}

double PictureWindow::fitZoom() const {
    const QImage& image = canvas_->image();
    if (image.isNull()) return 1.0;
    const QSize room = scroll_->viewport()->size() - QSize(2, 2);
    const double z = qMin(double(room.width()) / image.width(), double(room.height()) / image.height());
    return qBound(kMinZoom, z, kMaxZoom);
}

void PictureWindow::showZoom(double zoom, QPoint anchor) {
    const double old = canvas_->zoom();
    // Keep the picture's point under `anchor` (canvas coordinates) where it is on the screen.
    const QPoint onScreen = anchor.x() < 0 ? QPoint() : canvas_->mapTo(scroll_->viewport(), anchor);
    canvas_->setZoom(zoom);
    if (anchor.x() >= 0 && old > 0) {
        const double f = zoom / old;
        scroll_->horizontalScrollBar()->setValue(int(anchor.x() * f) - onScreen.x());
        scroll_->verticalScrollBar()->setValue(int(anchor.y() * f) - onScreen.y());
    }
    updateControls();
}

void PictureWindow::fitToWindow() {
    fit_ = true;
    showZoom(fitZoom(), QPoint(-1, -1));
}

void PictureWindow::actualSize() {
    fit_ = false;
    showZoom(1.0, QPoint(-1, -1));
}

void PictureWindow::zoomBy(double steps, QPoint anchor) {
    if (canvas_->image().isNull()) return;
    fit_ = false;
    showZoom(qBound(kMinZoom, canvas_->zoom() * std::pow(1.25, steps), kMaxZoom), anchor);
}

void PictureWindow::rotate() {
    if (original_.isNull()) return;
    rotation_ = (rotation_ + 90) % 360;
    canvas_->setImage(original_.transformed(QTransform().rotate(rotation_)));
    if (fit_)
        fitToWindow();
    else
        showZoom(canvas_->zoom(), QPoint(-1, -1));
}

void PictureWindow::previousPicture() {
    if (position_ <= 0) return;
    --position_;
    load();
}

void PictureWindow::nextPicture() {
    if (position_ + 1 >= count()) return;
    ++position_;
    load();
}

void PictureWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (fit_ && !canvas_->image().isNull()) showZoom(fitZoom(), QPoint(-1, -1));
}

void PictureWindow::updateControls() {
    previous_->setEnabled(position_ > 0);
    next_->setEnabled(position_ + 1 < count());
    zoomLabel_->setText(QStringLiteral("%1 %").arg(std::lround(canvas_->zoom() * 100)));
    if (list_.empty()) {
        setWindowTitle(QStringLiteral("Pictures"));
        return;
    }
    const pictures::Picture& p = list_[static_cast<std::size_t>(position_)];
    setWindowTitle(QStringLiteral("Picture %1 of %2 - %3")
                       .arg(position_ + 1)
                       .arg(count())
                       .arg(p.originalName));
}

}  // namespace picture_windows
