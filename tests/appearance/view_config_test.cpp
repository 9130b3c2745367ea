// The viewer configuration window and the rules that read its grids back: widths, shown flags,
// positions (Up, Down, Defaults), labels and their uniqueness, the live settings and help.
#include "appearance/view_config.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <set>

#include "appearance/view_settings_edit.h"
#include "ui/scripted_platform.h"

namespace appearance {
namespace {

TEST(ViewSettingsEditTest, WidthsOutsideOneTo255AndNonNumbersBecomeTen) {
    const std::pair<const char*, int> cases[] = {{"0", 10},  {"256", 10}, {"abc", 10},
                                                 {"-4", 10}, {"", 10},    {" 255 ", 255},
                                                 {"1", 1},   {"12x", 10}, {"40", 40}};
    for (const auto& [cell, width] : cases) EXPECT_EQ(widthFromCell(cell), width) << cell;
}

TEST(ViewSettingsEditTest, LabelsAreComparedExactlyAsStored) {
    EXPECT_FALSE(repeatedLabel({"Country", "COUNTRY", "country"}));
    EXPECT_EQ(repeatedLabel({"Year", "Topic", "Year"}), QStringLiteral("Year"));
    // Two labels that differ only after the 20th character would be stored equal.
    EXPECT_EQ(
        repeatedLabel({"Catalogue number one", "Catalogue number one A", "Catalogue number one B"}),
        QStringLiteral("Catalogue number one"));
    EXPECT_EQ(labelFromCell(QStringLiteral("A label of 21 letters")),
              QStringLiteral("A label of 21 letter"));
}

TEST(ViewSettingsEditTest, OrderRowsListEveryFieldOnceEvenFromBadPositions) {
    FieldSettingsArray fields = collection::CollectionSettings().fields;
    fields[0].order = 2;
    fields[1].order = 2;   // position 2 claimed twice
    fields[2].order = 99;  // out of range; position 1 unclaimed
    const QStringList rows = orderRows(fields);
    ASSERT_EQ(rows.size(), 25);
    for (const collection::FieldSettings& f : fields) EXPECT_EQ(rows.count(f.label), 1);
    EXPECT_EQ(rows[0], fields[0].label);
    EXPECT_EQ(rows[24], fields[2].label);

    // Read back with two fields under one label, each takes a row of its own.
    fields[4].label = fields[5].label;
    QStringList labels;
    for (const collection::FieldSettings& f : fields) labels << f.label;
    applyOrderRows(fields, labels, orderRows(fields));
    std::set<int> positions;
    for (const collection::FieldSettings& f : fields) positions.insert(f.order);
    EXPECT_EQ(positions.size(), 25u);
}

class ViewConfigTest : public ::testing::Test {
  protected:
    ViewConfigContext context() {
        ViewConfigContext c;
        c.settings = &settings;
        c.fonts = &fonts;
        return c;
    }
    static QTableWidget* grid(QDialog& d, const char* name) {
        return d.findChild<QTableWidget*>(QString::fromLatin1(name));
    }
    static void setCell(QDialog& d, const char* name, int row, const QString& text) {
        grid(d, name)->item(row, 1)->setText(text);
    }
    static void click(QDialog& d, const char* name) {
        d.findChild<QPushButton*>(QString::fromLatin1(name))->click();
    }
    static QStringList orderColumn(QDialog& d) {
        QStringList out;
        for (int r = 0; r < 25; ++r) out << grid(d, "FieldOrderGrid")->item(r, 0)->text();
        return out;
    }
    void configure(std::function<void(QDialog&)> handler) {
        platform.queueModal(std::move(handler));
        TViewConfig::Configure(context());
    }

    ui::ScriptedPlatform platform;
    ui::ScopedPlatform scoped{platform};
    collection::CollectionSettings settings;
    ui::SharedFonts fonts = ui::SharedFonts::defaults();
};

TEST_F(ViewConfigTest, WidthsShownFlagsAndLabelsAreReadBackOnExit) {
    settings.field(4).display = false;
    configure([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Viewer Configuration"));
        setCell(d, "FieldWidthGrid", 0, QStringLiteral("0"));
        setCell(d, "FieldWidthGrid", 1, QStringLiteral("256"));
        setCell(d, "FieldWidthGrid", 2, QStringLiteral("wide"));
        setCell(d, "FieldWidthGrid", 3, QStringLiteral(" 255"));
        QTableWidget* show = grid(d, "FieldsToDisplay");
        EXPECT_EQ(show->item(3, 1)->text(), QStringLiteral("No"));
        emit show->cellDoubleClicked(3, 1);  // No -> Yes
        emit show->cellDoubleClicked(6, 1);  // Yes -> No
        emit show->cellDoubleClicked(7, 0);  // the FIELD column: nothing
        setCell(d, "FieldNameGrid", 2, QStringLiteral("Land of issue of the stamp"));
        setCell(d, "FieldNameGrid", 3, QStringLiteral("COUNTRY"));
        click(d, "ExitButton");
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(grid(d, "FieldWidthGrid")->item(2, 1)->text(), QStringLiteral("10"));
    });
    EXPECT_EQ(settings.field(1).width, 10);
    EXPECT_EQ(settings.field(2).width, 10);
    EXPECT_EQ(settings.field(3).width, 10);
    EXPECT_EQ(settings.field(4).width, 255);
    EXPECT_EQ(settings.field(5).width, 15);
    EXPECT_TRUE(settings.field(4).display);
    EXPECT_FALSE(settings.field(7).display);
    EXPECT_TRUE(settings.field(8).display);
    EXPECT_EQ(settings.field(3).label, QStringLiteral("Land of issue of the"));
    EXPECT_EQ(settings.field(4).label, QStringLiteral("COUNTRY"));
    EXPECT_TRUE(platform.boxes().empty());
}

TEST_F(ViewConfigTest, EqualLabelsRefuseTheCloseOnTheNamesPage) {
    configure([](QDialog& d) {
        setCell(d, "FieldNameGrid", 6, QStringLiteral("Country"));
        click(d, "ExitButton");
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.findChild<QTabWidget*>()->currentIndex(), 5);
        setCell(d, "FieldNameGrid", 6, QStringLiteral("Issued"));
        click(d, "ExitButton");
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(platform.boxSummary(),
              QStringList{QStringLiteral(
                  "Error: Two field names have the same name \"Country\".  Please change one.")});
    EXPECT_EQ(settings.field(7).label, QStringLiteral("Issued"));
}

TEST_F(ViewConfigTest, UpDownAndDefaultsSetThePositions) {
    settings.field(1).order = 2;
    settings.field(2).order = 1;
    platform.queueAnswer(ui::MessageAnswer::No);
    platform.queueAnswer(ui::MessageAnswer::Yes);
    configure([](QDialog& d) {
        QTableWidget* order = grid(d, "FieldOrderGrid");
        EXPECT_EQ(orderColumn(d).mid(0, 3),
                  (QStringList{"Description", "Alpha Catalog", "Country"}));
        order->setCurrentCell(0, 0);
        click(d, "OrderUp");  // at the top: nothing
        click(d, "OrderDown");
        click(d, "OrderDown");
        EXPECT_EQ(order->currentRow(), 2);
        EXPECT_EQ(orderColumn(d).mid(0, 3),
                  (QStringList{"Alpha Catalog", "Country", "Description"}));
        order->setCurrentCell(24, 0);
        click(d, "OrderDown");  // at the bottom: nothing
        EXPECT_EQ(orderColumn(d)[24], QStringLiteral("Wanted"));
        click(d, "OrderDefaults");  // No
        EXPECT_EQ(orderColumn(d)[1], QStringLiteral("Country"));
        click(d, "OrderDefaults");  // Yes
        EXPECT_EQ(orderColumn(d)[1], QStringLiteral("Description"));
        click(d, "ExitButton");
    });
    EXPECT_EQ(platform.boxes().at(0).title, QStringLiteral("Re-Order"));
    EXPECT_EQ(platform.boxes().at(0).text,
              QStringLiteral("This will set the order of fields to the program defaults.  "
                             "Continue?"));
    for (int n = 1; n <= 25; ++n) EXPECT_EQ(settings.field(n).order, n);
}

TEST_F(ViewConfigTest, ChecksColoursAndFontsChangeTheSettingsAtOnceAndHelpFollowsThePage) {
    platform.queueColor(QColor(0, 0, 255));
    QFont chosen(QStringLiteral("Courier New"), 14);
    chosen.setUnderline(true);
    platform.queueFont(ui::FontChoice{chosen, QColor(255, 0, 0)});
    configure([this](QDialog& d) {
        EXPECT_EQ(d.findChild<QLineEdit*>(QStringLiteral("TitleFontText"))->text(),
                  QStringLiteral("12pt Arial"));
        EXPECT_TRUE(d.findChild<QRadioButton*>(QStringLiteral("TitleCenter"))->isChecked());
        d.findChild<QRadioButton*>(QStringLiteral("TitleRight"))->click();
        d.findChild<QCheckBox*>(QStringLiteral("RowLines"))->click();
        EXPECT_FALSE(settings.grid.rowLines);
        click(d, "Button1");
        EXPECT_EQ(settings.grid.titleBackgroundColor, 0xFF0000);
        click(d, "NewFontButton");
        EXPECT_EQ(d.findChild<QLineEdit*>(QStringLiteral("CellFontText"))->text(),
                  QStringLiteral("14pt Courier New"));
        EXPECT_EQ(fonts.grid.family(), QStringLiteral("Courier New"));
        click(d, "HelpButton");
        d.findChild<QTabWidget*>()->setCurrentIndex(4);
        click(d, "HelpButton");
        click(d, "ExitButton");
    });
    EXPECT_EQ(settings.grid.titleAlignment, 3);
    EXPECT_EQ(settings.grid.font.name, QStringLiteral("Courier New"));
    EXPECT_EQ(settings.grid.font.size, 14);
    EXPECT_TRUE(settings.grid.font.underline);
    EXPECT_EQ(settings.grid.font.color, 0x0000FF);
    ASSERT_EQ(platform.helpRequests().size(), 2u);
    EXPECT_EQ(platform.helpRequests()[0].keyword, QStringLiteral("Viewer Configuration Title"));
    EXPECT_EQ(platform.helpRequests()[1].keyword, QStringLiteral("Viewer Configuration Order"));
}

TEST_F(ViewConfigTest, FontDialogsOpenOnTheStoredFontAndOkWithoutAChangeKeepsIt) {
    settings.grid.titleFont.bold = true;
    settings.grid.titleFont.color = 0x00FF00;
    // The user confirms what the dialog showed: the stand-in family of "Arial".
    QFont shown(QStringLiteral("Liberation Sans"), 12);
    shown.setBold(true);
    platform.queueFont(ui::FontChoice{shown, QColor(0, 255, 0)});
    platform.queueColor(QColor(0x12, 0x34, 0x56));
    platform.queueColor(std::nullopt);
    configure([](QDialog& d) {
        click(d, "TitleFontButton");
        click(d, "TitleFontColorButton");
        click(d, "CellFontColorButton");  // cancelled
        click(d, "ExitButton");
    });
    EXPECT_EQ(platform.lastFontPreset().font.family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(platform.lastFontPreset().font.pointSize(), 12);
    EXPECT_TRUE(platform.lastFontPreset().font.bold());
    EXPECT_EQ(settings.grid.titleFont.name, QStringLiteral("Arial"));
    EXPECT_EQ(fonts.gridTitle.family(), QStringLiteral("Arial"));
    EXPECT_TRUE(settings.grid.titleFont.bold);
    EXPECT_EQ(settings.grid.titleFont.size, 12);
    // The colour chosen beside the font is stored with it.
    EXPECT_EQ(settings.grid.titleFont.color, 0x563412);
    EXPECT_EQ(settings.grid.font.color, collection::CollectionSettings().grid.font.color);
}

TEST_F(ViewConfigTest, ChecksAndAlignmentChangedWithoutAClickAreStored) {
    configure([](QDialog& d) {
        // As the keyboard's space bar or an assistive tool changes them: no click signal.
        d.findChild<QCheckBox*>(QStringLiteral("RowLines"))->setChecked(false);
        d.findChild<QCheckBox*>(QStringLiteral("FieldEditing"))->toggle();
        d.findChild<QCheckBox*>(QStringLiteral("ShowGridTitle"))->setChecked(false);
        d.findChild<QRadioButton*>(QStringLiteral("TitleLeft"))->setChecked(true);
        click(d, "ExitButton");
    });
    const collection::GridSettings defaults = collection::CollectionSettings().grid;
    EXPECT_FALSE(settings.grid.rowLines);
    EXPECT_EQ(settings.grid.fieldEditing, !defaults.fieldEditing);
    EXPECT_FALSE(settings.grid.showTitles);
    EXPECT_EQ(settings.grid.titleAlignment, 1);
    EXPECT_EQ(settings.grid.columnLines, defaults.columnLines);
}

TEST(ViewConfigHelpTest, EveryPageKeywordIsAnAnchorOfTheHelpDocument) {
    QFile file(QStringLiteral(TESS_SOURCE_DIR "/data/TESSELON.HLP"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    for (const char* keyword : kViewConfigHelpKeywords)
        EXPECT_TRUE(html.contains(QStringLiteral("<a name=\"%1\">").arg(keyword))) << keyword;
}

}  // namespace
}  // namespace appearance
