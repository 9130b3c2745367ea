#include "reports/my_preview.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
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
#include "ui/window_keys.h"

namespace reports {

namespace {

// A tool button showing `face`, known by its hint (tool tip and accessible name), added to `row`.
QToolButton* toolButton(QWidget* panel, QBoxLayout* row, const char* name, const QString& hint,
                        const QString& face, std::function<void()> action) {
    auto* button = new QToolButton(panel);
    button->setObjectName(QLatin1String(name));
    button->setText(face);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setAutoRaise(true);
    QObject::connect(button, &QToolButton::clicked, panel, std::move(action));
    row->addWidget(button);
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
    ui::installWindowKeys(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    MainMenu = new QMenuBar(this);
    MainMenu->setObjectName(QStringLiteral("MainMenu"));
    layout->setMenuBar(MainMenu);

    ToolPanel = new QWidget(this);
    ToolPanel->setObjectName(QStringLiteral("ToolPanel"));
    // The window keeps whatever width it was given; the tool bar takes a second row when it
    // needs one, rather than the window growing.
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
    // Two rows: the zoom and page controls, then printing, fitting and Done. They share one row
    // when the window is wide enough for both (arrangeToolBar).
    auto* rows = new QVBoxLayout(ToolPanel);
    firstRow_ = new QHBoxLayout;
    secondRow_ = new QHBoxLayout;
    rows->addLayout(firstRow_);
    rows->addLayout(secondRow_);
    QBoxLayout* row = firstRow_;
    SBZoomIn = toolButton(ToolPanel, row, "SBZoomIn", QStringLiteral("Zoom In"),
                          QStringLiteral("+"), [this] { zoomIn(); });
    SBZoomOut = toolButton(ToolPanel, row, "SBZoomOut", QStringLiteral("Zoom Out"),
                           QStringLiteral("\u2212"), [this] { zoomOut(); });
    row->addWidget(new QLabel(QStringLiteral("Zoom %"), ToolPanel));
    ZoomEdit = new QLineEdit(ToolPanel);
    ZoomEdit->setObjectName(QStringLiteral("ZoomEdit"));
    ZoomEdit->setMaxLength(10);
    ZoomEdit->setFixedWidth(60);
    row->addWidget(ZoomEdit);
    SBPrevPage = toolButton(ToolPanel, row, "SBPrevPage", QStringLiteral("Prev Page"),
                            QStringLiteral("\u25c0"), [this] { prevPage(); });
    SBNextPage = toolButton(ToolPanel, row, "SBNextPage", QStringLiteral("Next Page"),
                            QStringLiteral("\u25b6"), [this] { nextPage(); });
    row->addWidget(new QLabel(QStringLiteral("Page #"), ToolPanel));
    PageEdit = new QLineEdit(ToolPanel);
    PageEdit->setObjectName(QStringLiteral("PageEdit"));
    PageEdit->setFixedWidth(60);
    row->addWidget(PageEdit);
    PageLabel = new QLabel(QStringLiteral("Page 1 of 1"), ToolPanel);
    PageLabel->setObjectName(QStringLiteral("PageLabel"));
    row->addWidget(PageLabel);
    row->addStretch(1);
    row = secondRow_;
    SBPrint = toolButton(ToolPanel, row, "SBPrint", QStringLiteral("Print Page"),
                         QStringLiteral("Print"), [this] { printPage(); });
    SBZoomPageWidth =
        toolButton(ToolPanel, row, "SBZoomPageWidth", QStringLiteral("Zoom Page Width"),
                   QStringLiteral("\u2194"), [this] { zoomPageWidth(); });
    SBZoomPage = toolButton(ToolPanel, row, "SBZoomPage", QStringLiteral("Zoom Whole Page"),
                            QStringLiteral("\u25a1"), [this] { zoomWholePage(); });
    SBDone = toolButton(ToolPanel, row, "SBDone", QStringLiteral("Done"), QStringLiteral("Done"),
                        [this] { close(); });
    row->addStretch(1);
    ToolPanel->installEventFilter(this);

    ZoomEdit->installEventFilter(this);
    PageEdit->installEventFilter(this);
    connect(ZoomEdit, &QLineEdit::editingFinished, this, &TMyPreview::ZoomEditDone);
    connect(PageEdit, &QLineEdit::editingFinished, this, &TMyPreview::PageEditDone);
}

void TMyPreview::arrangeToolBar() {
    // The second group joins the first row when the whole tool bar fits the panel's width.
    const QWidget* trailing[] = {SBPrint, SBZoomPageWidth, SBZoomPage, SBDone};
    const auto rowWidth = [](QBoxLayout* row) {
        int width = 0, items = 0;
        for (int i = 0; i < row->count(); ++i) {
            if (QWidget* w = row->itemAt(i)->widget()) {
                width += w->sizeHint().width();
                ++items;
            }
        }
        return width + std::max(0, items - 1) * std::max(0, row->spacing());
    };
    const QMargins margins = ToolPanel->layout()->contentsMargins();
    const int spacing = std::max(0, firstRow_->spacing());
    const int needed =
        rowWidth(firstRow_) + rowWidth(secondRow_) + spacing + margins.left() + margins.right();
    const bool oneRow = needed <= ToolPanel->width();
    QBoxLayout* from = oneRow ? secondRow_ : firstRow_;
    QBoxLayout* to = oneRow ? firstRow_ : secondRow_;
    if (from->indexOf(const_cast<QWidget*>(trailing[0])) < 0) return;  // already so
    for (const QWidget* w : trailing) {
        auto* widget = const_cast<QWidget*>(w);
        from->removeWidget(widget);
        to->insertWidget(to->count() - 1, widget);  // before the row's closing stretch
    }
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

bool TMyPreview::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ToolPanel &&
        (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest ||
         event->type() == QEvent::FontChange))
        arrangeToolBar();
    if (event->type() != QEvent::ShortcutOverride) return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Cut)) return false;
    const QKeySequence pressed(key->keyCombination());
    for (const QAction* item : MainMenu->findChildren<QAction*>()) {
        if (!item->shortcut().isEmpty() && item->shortcut() == pressed) {
            event->ignore();  // not the field's: the shortcut goes to the menu
            return true;
        }
    }
    return false;
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
