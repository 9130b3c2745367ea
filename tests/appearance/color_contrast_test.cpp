// Every predefined colour combination drawn on a window of every kind of text the windows show:
// the text really drawn must read at 3:1 or better against what is really behind it (measured
// on the painted window), radio buttons and check boxes take their pair over the whole control,
// and disabled controls are drawn greyed.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QHash>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>

#include "appearance/color_combinations.h"
#include "ui/window_colors.h"

namespace appearance {
namespace {

using collection::ColorRole;

struct ColoredWindow : QDialog {
    ColoredWindow() {
        resize(420, 330);
        menu = new QMenuBar(this);
        menu->addMenu(QStringLiteral("File"));
        menu->setGeometry(0, 0, 420, 24);
        label = place(new QLabel(QStringLiteral("Country"), this), {10, 30, 100, 20});
        major = place(new QLabel(QStringLiteral("Heading"), this), {120, 30, 100, 20});
        minor = place(new QLabel(QStringLiteral("Field"), this), {230, 30, 100, 20});
        check = place(new QCheckBox(QStringLiteral("Wanted"), this), {10, 60, 120, 22});
        radio = place(new QRadioButton(QStringLiteral("Left"), this), {140, 60, 120, 22});
        disabled = place(new QCheckBox(QStringLiteral("Print"), this), {270, 60, 120, 22});
        disabled->setEnabled(false);
        edit = place(new QLineEdit(QStringLiteral("Sample"), this), {10, 90, 150, 24});
        list = place(new QListWidget(this), {170, 90, 150, 60});
        list->addItem(QStringLiteral("Item"));
        grid = place(new QTableWidget(1, 1, this), {10, 160, 200, 60});
        grid->setHorizontalHeaderLabels({QStringLiteral("FIELD")});
        notebook = place(new QTabWidget(this), {10, 225, 400, 100});
        auto* page = new QWidget;
        notebook->addTab(page, QStringLiteral("Order"));
        pageHeading = new QLabel(QStringLiteral("Ordering"), page);
        pageHeading->setGeometry(10, 10, 100, 20);
    }
    template <typename W>
    W* place(W* w, QRect at) {
        w->setGeometry(at);
        return w;
    }
    QMenuBar* menu;
    QLabel *label, *major, *minor, *pageHeading;
    QCheckBox *check, *disabled;
    QRadioButton* radio;
    QLineEdit* edit;
    QListWidget* list;
    QTableWidget* grid;
    QTabWidget* notebook;
};

// The contrast between the commonest colour of `area` (what is behind) and the colour that
// stands out most from it (the text's full strokes).
double drawnContrast(const QImage& image, const QRect& area) {
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) ++counts[image.pixel(x, y)];
    QRgb behind = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) most = it.value(), behind = it.key();
    double best = 1.0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, ui::contrastRatio(QColor(behind), QColor(it.key())));
    return best;
}

QRect areaOf(QWidget* w, QWidget* window, QRect inner) {
    return QRect(w->mapTo(window, inner.topLeft()), inner.size());
}

TEST(ColorContrast, EveryCombinationDrawsReadableTextOnWhatIsBehindIt) {
    for (int number = 1; number <= kColorCombinationCount; ++number) {
        SCOPED_TRACE(colorCombinationName(number).toStdString());
        collection::ColorSet set;
        applyColorCombination(set, number);
        ColoredWindow w;
        ui::applyColors(&w, set, {w.major}, {w.minor, w.pageHeading});
        w.show();
        const QImage image = w.grab().toImage();
        const QRect header = w.grid->horizontalHeader()->geometry();
        const struct {
            const char* what;
            QRect area;
        } texts[] = {
            {"menu bar", areaOf(w.menu, &w, w.menu->actionGeometry(w.menu->actions().at(0)))},
            {"label", areaOf(w.label, &w, w.label->rect())},
            {"major title", areaOf(w.major, &w, w.major->rect())},
            {"minor title", areaOf(w.minor, &w, w.minor->rect())},
            // The text part of the options, right of their indicators.
            {"check box", areaOf(w.check, &w, w.check->rect().adjusted(24, 0, 0, 0))},
            {"radio button", areaOf(w.radio, &w, w.radio->rect().adjusted(24, 0, 0, 0))},
            {"edit box", areaOf(w.edit, &w, w.edit->rect().adjusted(4, 4, -4, -4))},
            {"list box", areaOf(w.list->viewport(), &w,
                                w.list->visualItemRect(w.list->item(0)).adjusted(1, 1, -1, -1))},
            {"grid header", areaOf(w.grid, &w, header.adjusted(2, 2, -2, -2))},
            {"notebook heading", areaOf(w.pageHeading, &w, w.pageHeading->rect())},
        };
        for (const auto& t : texts) {
            SCOPED_TRACE(t.what);
            ASSERT_TRUE(image.rect().contains(t.area));
            EXPECT_GE(drawnContrast(image, t.area), 3.0);
        }
        // The notebook page is painted with Main Background.
        const QPoint inPage = w.pageHeading->mapTo(&w, QPoint(150, 5));
        EXPECT_EQ(QColor(image.pixel(inPage)), ui::colorOf(set, ColorRole::MainBackground));
    }
}

TEST(ColorContrast, OptionsTakeTheirPairWholeAndDisabledOnesAreGreyed) {
    for (int number : {3, 7, 11}) {  // Midnight Black, Fiery Red, Green Glow
        SCOPED_TRACE(colorCombinationName(number).toStdString());
        collection::ColorSet set;
        applyColorCombination(set, number);
        ColoredWindow w;
        ui::applyColors(&w, set);
        w.show();
        const QImage image = w.grab().toImage();
        const QColor back = ui::colorOf(set, ColorRole::CheckBackground);
        // Right of the caption and inside the indicator.
        EXPECT_EQ(QColor(image.pixel(w.check->mapTo(&w, QPoint(115, 11)))), back);
        EXPECT_EQ(QColor(image.pixel(w.radio->mapTo(&w, QPoint(115, 11)))),
                  ui::colorOf(set, ColorRole::RadioBackground));
        const QRect indicator = w.check->rect().adjusted(0, 0, -(w.check->width() - 18), 0);
        EXPECT_EQ(QColor(image.pixel(w.check->mapTo(&w, indicator.center()))), back);

        const QPalette& p = w.disabled->palette();
        const QColor enabledText = p.color(QPalette::Active, QPalette::WindowText);
        const QColor disabledText = p.color(QPalette::Disabled, QPalette::WindowText);
        EXPECT_NE(disabledText, enabledText);
        EXPECT_LT(ui::contrastRatio(disabledText, back), ui::contrastRatio(enabledText, back));
        EXPECT_GT(ui::contrastRatio(disabledText, back), 1.2);  // greyed, still seen
    }
}

TEST(ColorContrast, LegibleColoursKeepReadablePairsAndMoveOnlyTheOthers) {
    EXPECT_NEAR(ui::contrastRatio(Qt::black, Qt::white), 21.0, 0.01);
    EXPECT_NEAR(ui::contrastRatio(QColor(128, 128, 0), QColor(128, 128, 0)), 1.0, 0.001);
    // A pair that reads stays as stored.
    EXPECT_EQ(ui::legibleOn(Qt::white, QColor(0, 0, 255)), QColor(0, 0, 255));
    // Camouflage's grey text on olive, black on black: moved until they read.
    for (const auto& [back, text] : {std::pair{QColor(128, 128, 0), QColor(127, 127, 127)},
                                     std::pair{QColor(Qt::black), QColor(Qt::black)},
                                     std::pair{QColor(0, 255, 0), QColor(0, 255, 0)}})
        EXPECT_GE(ui::contrastRatio(back, ui::legibleOn(back, text)), 4.5);
}

}  // namespace
}  // namespace appearance
