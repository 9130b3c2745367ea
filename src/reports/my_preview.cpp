#include "reports/my_preview.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "reports/preview_page.h"
#include "reports/print_range.h"
#include "ui/messages.h"
#include "ui/platform.h"

namespace reports {

namespace {

// A tool button showing `face`, known by its hint (tool tip and accessible name).
QToolButton* toolButton(QWidget* panel, const char* name, const QString& hint, const QString& face,
                        std::function<void()> action) {
    auto* button = new QToolButton(panel);
    button->setObjectName(QLatin1String(name));
    button->setText(face);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setAutoRaise(true);
    QObject::connect(button, &QToolButton::clicked, panel, std::move(action));
    panel->layout()->addWidget(button);
    return button;
}

QAction* menuItem(QMenu* menu, const char* name, const QString& caption, QKeySequence key,
                  std::function<void()> action) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    if (!key.isEmpty()) item->setShortcut(key);
    QObject::connect(item, &QAction::triggered, menu, std::move(action));
    return item;
}

QKeySequence ctrl(Qt::Key key) {
    return QKeySequence(Qt::CTRL | key);
}

}  // namespace

TMyPreview::TMyPreview(const RecordedReport& report, const QString& caption,
                       collection::ReportSettings* bounds, QWidget* parent)
    : QDialog(parent), report_(report), bounds_(bounds), printer_(report) {
    setObjectName(QStringLiteral("MyPreview"));
    setWindowTitle(caption);
    setSizeGripEnabled(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    MainMenu = new QMenuBar(this);
    MainMenu->setObjectName(QStringLiteral("MainMenu"));
    layout->setMenuBar(MainMenu);

    ToolPanel = new QWidget(this);
    ToolPanel->setObjectName(QStringLiteral("ToolPanel"));
    new QHBoxLayout(ToolPanel);
    // The window keeps whatever width it was given; the tool bar is cut, not the window grown.
    ToolPanel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    layout->addWidget(ToolPanel);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    ScrollBox1->setAlignment(Qt::AlignCenter);
    view_ = new PreviewPage(report_, ScrollBox1);
    ScrollBox1->setWidget(view_);
    layout->addWidget(ScrollBox1, 1);

    buildToolBar();
    buildMenus();

    const collection::ReportSettings remembered = bounds_ ? *bounds_ : collection::ReportSettings();
    move(remembered.viewLeft, remembered.viewTop);
    resize(std::max(remembered.viewWidth, 200), std::max(remembered.viewHeight, 150));

    view_->showPage(0);
    pageChanged();
    zoomChanged();
    ScrollBox1->setFocus();
}

TMyPreview::~TMyPreview() = default;

void TMyPreview::buildToolBar() {
    SBZoomIn = toolButton(ToolPanel, "SBZoomIn", QStringLiteral("Zoom In"), QStringLiteral("+"),
                          [this] { zoomIn(); });
    SBZoomOut = toolButton(ToolPanel, "SBZoomOut", QStringLiteral("Zoom Out"),
                           QStringLiteral("\u2212"), [this] { zoomOut(); });
    ToolPanel->layout()->addWidget(new QLabel(QStringLiteral("Zoom %"), ToolPanel));
    ZoomEdit = new QLineEdit(ToolPanel);
    ZoomEdit->setObjectName(QStringLiteral("ZoomEdit"));
    ZoomEdit->setMaxLength(10);
    ZoomEdit->setFixedWidth(60);
    ToolPanel->layout()->addWidget(ZoomEdit);
    SBPrevPage = toolButton(ToolPanel, "SBPrevPage", QStringLiteral("Prev Page"),
                            QStringLiteral("\u25c0"), [this] { prevPage(); });
    SBNextPage = toolButton(ToolPanel, "SBNextPage", QStringLiteral("Next Page"),
                            QStringLiteral("\u25b6"), [this] { nextPage(); });
    ToolPanel->layout()->addWidget(new QLabel(QStringLiteral("Page #"), ToolPanel));
    PageEdit = new QLineEdit(ToolPanel);
    PageEdit->setObjectName(QStringLiteral("PageEdit"));
    PageEdit->setFixedWidth(60);
    ToolPanel->layout()->addWidget(PageEdit);
    PageLabel = new QLabel(QStringLiteral("Page 1 of 1"), ToolPanel);
    PageLabel->setObjectName(QStringLiteral("PageLabel"));
    ToolPanel->layout()->addWidget(PageLabel);
    SBPrint = toolButton(ToolPanel, "SBPrint", QStringLiteral("Print Page"),
                         QStringLiteral("Print"), [this] { printPage(); });
    SBZoomPageWidth = toolButton(ToolPanel, "SBZoomPageWidth", QStringLiteral("Zoom Page Width"),
                                 QStringLiteral("\u2194"), [this] { zoomPageWidth(); });
    SBZoomPage = toolButton(ToolPanel, "SBZoomPage", QStringLiteral("Zoom Whole Page"),
                            QStringLiteral("\u25a1"), [this] { zoomWholePage(); });
    SBDone = toolButton(ToolPanel, "SBDone", QStringLiteral("Done"), QStringLiteral("Done"),
                        [this] { close(); });
    static_cast<QHBoxLayout*>(ToolPanel->layout())->addStretch(1);

    connect(ZoomEdit, &QLineEdit::editingFinished, this, &TMyPreview::ZoomEditDone);
    connect(PageEdit, &QLineEdit::editingFinished, this, &TMyPreview::PageEditDone);
}

void TMyPreview::buildMenus() {
    QMenu* file = MainMenu->addMenu(QStringLiteral("&File"));
    menuItem(file, "PrintPageItem", QStringLiteral("&Print Page"), ctrl(Qt::Key_P),
             [this] { printPage(); });
    menuItem(file, "PrintReportItem", QStringLiteral("Print &Report"), ctrl(Qt::Key_R),
             [this] { printReport(); });
    menuItem(file, "PrintRangeItem", QStringLiteral("Print Ran&ge"), ctrl(Qt::Key_G),
             [this] { printRange(); });
    menuItem(file, "ExitItem", QStringLiteral("E&xit"), ctrl(Qt::Key_X), [this] { close(); });

    QMenu* navigate = MainMenu->addMenu(QStringLiteral("&Navigate"));
    menuItem(navigate, "PrevPageItem", QStringLiteral("&Previous Page"), ctrl(Qt::Key_E),
             [this] { prevPage(); });
    menuItem(navigate, "NextPageItem", QStringLiteral("&Next Page"), ctrl(Qt::Key_N),
             [this] { nextPage(); });
    menuItem(navigate, "FirstPageItem", QStringLiteral("&First Page"), ctrl(Qt::Key_F),
             [this] { goToPage(1); });
    menuItem(navigate, "LastPageItem", QStringLiteral("&Last Page"), ctrl(Qt::Key_L),
             [this] { goToPage(pageCount()); });

    QMenu* view = MainMenu->addMenu(QStringLiteral("&View"));
    UseColorItem = menuItem(view, "UseColorItem", QStringLiteral("Use Color"), ctrl(Qt::Key_C),
                            [this] { toggleColor(); });
    UseColorItem->setCheckable(true);
    UseColorItem->setChecked(false);
    // The two zoom submenus; their own shortcuts step the zoom as the tool buttons do.
    QMenu* in = view->addMenu(QStringLiteral("Zoom &In"));
    in->menuAction()->setObjectName(QStringLiteral("ZoomInItem"));
    in->menuAction()->setShortcut(ctrl(Qt::Key_I));
    connect(in->menuAction(), &QAction::triggered, this, [this] { zoomIn(); });
    menuItem(in, "ZoomIn1Item", QStringLiteral("&1 : 1"), {}, [this] { setZoom(100.0); });
    menuItem(in, "ZoomIn2Item", QStringLiteral("&2 : 1"), {}, [this] { setZoom(200.0); });
    QMenu* out = view->addMenu(QStringLiteral("Zoom &Out"));
    out->menuAction()->setObjectName(QStringLiteral("ZoomOutItem"));
    out->menuAction()->setShortcut(ctrl(Qt::Key_O));
    connect(out->menuAction(), &QAction::triggered, this, [this] { zoomOut(); });
    const double factors[] = {100.0, 50.0, 100.0 / 3.0, 25.0, 20.0};
    for (int i = 0; i < 5; ++i) {
        const QByteArray name = "ZoomOut" + QByteArray::number(i + 1) + "Item";
        menuItem(out, name.constData(), QStringLiteral("1 : &%1").arg(i + 1), {},
                 [this, f = factors[i]] { setZoom(f); });
    }
    menuItem(view, "PageWidthItem", QStringLiteral("Zoom &Page Width"), ctrl(Qt::Key_Z),
             [this] { zoomPageWidth(); });
    menuItem(view, "WholePageItem", QStringLiteral("Zoom &Whole Page"), ctrl(Qt::Key_W),
             [this] { zoomWholePage(); });
}

int TMyPreview::currentPage() const {
    return view_->page() + 1;
}

int TMyPreview::pageCount() const {
    return report_.pageCount();
}

double TMyPreview::zoom() const {
    return view_->zoom();
}

bool TMyPreview::monochrome() const {
    return view_->monochrome();
}

void TMyPreview::goToPage(int page) {
    if (page < 1 || page > pageCount() || page == currentPage()) return;
    view_->showPage(page - 1);
    pageChanged();
}

void TMyPreview::pageChanged() {
    const int page = currentPage();
    PageEdit->setText(QString::number(page));
    PageLabel->setText(QStringLiteral("Page %1 of %2").arg(page).arg(std::max(1, pageCount())));
    SBPrevPage->setEnabled(page > 1);
    SBNextPage->setEnabled(page < pageCount());
}

void TMyPreview::setZoom(double percent) {
    percent = std::clamp(percent, kMinZoom, kMaxZoom);
    if (percent != zoom()) view_->setZoom(percent);
    zoomChanged();
}

void TMyPreview::zoomChanged() {
    ZoomEdit->setText(QString::number(zoom(), 'f', 1).left(10));
    SBZoomIn->setEnabled(zoom() < kMaxZoom);
    SBZoomOut->setEnabled(zoom() > kMinZoom);
}

QSize TMyPreview::viewSize() const {
    // The viewport without scroll bars.
    return ScrollBox1->maximumViewportSize();
}

void TMyPreview::zoomPageWidth() {
    // The page will be taller than the view, so leave room for the vertical scroll bar.
    QSize size = viewSize();
    size.rwidth() -= ScrollBox1->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr,
                                                      ScrollBox1->verticalScrollBar());
    setZoom(view_->pageWidthZoom(size));
}

void TMyPreview::zoomWholePage() {
    setZoom(view_->wholePageZoom(viewSize()));
}

void TMyPreview::toggleColor() {
    view_->setMonochrome(!view_->monochrome());
    UseColorItem->setChecked(!view_->monochrome());
}

void TMyPreview::ZoomEditDone() {
    bool ok = false;
    const double typed = ZoomEdit->text().trimmed().toDouble(&ok);
    if (ok && typed != zoom())
        setZoom(typed);
    else
        zoomChanged();
}

void TMyPreview::PageEditDone() {
    bool ok = false;
    const int typed = PageEdit->text().trimmed().toInt(&ok);
    if (ok && typed != currentPage() && typed >= 1 && typed <= pageCount())
        goToPage(typed);
    else
        pageChanged();
}

bool TMyPreview::printerFree() {
    if (!printer_.busy()) return true;
    ui::showError(this, kPrintBusy);
    return false;
}

void TMyPreview::printPage() {
    if (printerFree()) printer_.print(opener_, this, currentPage(), currentPage());
}

void TMyPreview::printReport() {
    if (printerFree()) printer_.print(opener_, this, 1, pageCount());
}

void TMyPreview::printRange() {
    if (!printerFree()) return;
    bool confirmed = false;
    int first = 0, last = 0;
    {
        TPrintRange range(pageCount(), this);
        ui::platform().execModal(range);
        confirmed = range.confirmed();
        first = range.firstPage();
        last = range.lastPage();
    }
    if (confirmed) printer_.print(opener_, this, first, last);
}

void TMyPreview::done(int result) {
    if (bounds_) {
        bounds_->viewLeft = x();
        bounds_->viewTop = y();
        bounds_->viewWidth = width();
        bounds_->viewHeight = height();
    }
    QDialog::done(result);
}

int showPreview(const RecordedReport& report, const QString& caption,
                collection::ReportSettings* bounds, QWidget* parent, PrintDeviceOpener opener) {
    TMyPreview preview(report, caption, bounds, parent);
    preview.setDeviceOpener(std::move(opener));
    return ui::platform().execModal(preview);
}

}  // namespace reports
