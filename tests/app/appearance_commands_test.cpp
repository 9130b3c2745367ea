// The main window's colour and font commands: a combination for all windows repaints the main
// window at once and reaches every group's settings; a label font keeps only name, bold and
// italic across a settings round trip while the running program shows it as chosen.
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "app_test_env.h"
#include "appearance/color_combinations.h"
#include "collection/profile_file.h"
#include "ui/font_dialog_preset.h"

namespace app::testing {
namespace {

class AppearanceCommandsTest : public AppTest {
  protected:
    QString masterIni() const { return programDir() + QStringLiteral("/MASTER.INI"); }
};

TEST_F(AppearanceCommandsTest, ColorSetupForAllWindowsRepaintsTheMainWindowAndIsStored) {
    TMain& w = start();
    platform_.queueModal([](QDialog& d) {
        EXPECT_EQ(d.objectName(), QStringLiteral("ColorConfig"));
        auto* list = d.findChild<QComboBox*>(QStringLiteral("ColorSets"));
        list->setCurrentIndex(6);
        emit list->activated(6);
        d.findChild<QPushButton*>(QStringLiteral("OkButton"))->click();
    });
    trigger(QStringLiteral("ColorSpeed"));
    EXPECT_EQ(w.palette().color(QPalette::Window), QColor(0, 255, 255));
    EXPECT_EQ(
        w.findChild<QLabel*>(QStringLiteral("ViewerLabel"))->palette().color(QPalette::WindowText),
        QColor(255, 0, 0));
    collection::ColorSet ocean;
    appearance::applyColorCombination(ocean, 6);
    for (const collection::ColorSet& set : w.collectionSettings().colors) EXPECT_EQ(set, ocean);

    // The search group alone, from its own menu item; Cancel leaves the main window as it is.
    platform_.queueModal(
        [](QDialog& d) { d.findChild<QPushButton*>(QStringLiteral("CancelButton"))->click(); });
    trigger(QStringLiteral("MenuSearchColor"));
    main_->close();
    main_.reset();
    EXPECT_EQ(
        collection::ProfileFile(masterIni())
            .read(QStringLiteral("Configure Window Color"), QStringLiteral("Main Background")),
        QString::number(0xFFFF00));
}

TEST_F(AppearanceCommandsTest, LabelFontShowsAsChosenButKeepsOnlyNameBoldItalic) {
    TMain& w = start();
    auto* label = w.findChild<QLabel*>(QStringLiteral("Count2Label"));
    const int sizeBefore = label->font().pointSize();
    QFont chosen(QStringLiteral("Courier New"), sizeBefore + 6);
    chosen.setUnderline(true);
    chosen.setItalic(true);
    platform_.queueFont(ui::FontChoice{chosen, Qt::red});
    trigger(QStringLiteral("MenuLabelFont"));
    EXPECT_EQ(label->font().family(), QStringLiteral("Courier New"));
    EXPECT_TRUE(label->font().underline());
    EXPECT_TRUE(label->font().italic());
    EXPECT_EQ(label->font().pointSize(), sizeBefore);
    EXPECT_EQ(w.sharedFonts().label.pointSize(), sizeBefore + 6);

    // A cancelled dialog changes nothing.
    platform_.queueFont(std::nullopt);
    trigger(QStringLiteral("MenuEditFont"));
    EXPECT_EQ(w.collectionSettings().editFont, collection::FontSettings{});

    // The button font dialog opens on the family "Arial" is drawn with here; confirming it keeps
    // the stored name and its styles.
    platform_.queueFont(ui::FontChoice{QFont(QStringLiteral("Liberation Sans"), 9), Qt::black});
    trigger(QStringLiteral("MenuButtonFont"));
    EXPECT_EQ(platform_.lastFontPreset().font.family(),
              ui::resolvedFamily(QStringLiteral("Arial")));
    EXPECT_EQ(w.collectionSettings().buttonFont.name, QStringLiteral("Arial"));
    EXPECT_EQ(w.sharedFonts().button.family(), QStringLiteral("Arial"));

    main_->close();
    main_.reset();
    collection::ProfileFile ini(masterIni());
    const QString section = QStringLiteral("Label Font");
    EXPECT_EQ(ini.read(section, QStringLiteral("Font Name")), QStringLiteral("Courier New"));
    EXPECT_EQ(ini.read(section, QStringLiteral("Italic")), QStringLiteral("Yes"));
    EXPECT_EQ(ini.read(section, QStringLiteral("Bold")), QStringLiteral("No"));
    EXPECT_TRUE(ini.read(section, QStringLiteral("Underline")).isEmpty());
    EXPECT_TRUE(ini.read(section, QStringLiteral("Size")).isEmpty());

    TMain& again = start();
    EXPECT_EQ(again.sharedFonts().label.family(), QStringLiteral("Courier New"));
    EXPECT_TRUE(again.sharedFonts().label.italic());
    EXPECT_FALSE(again.sharedFonts().label.underline());
    EXPECT_FALSE(again.findChild<QLabel*>(QStringLiteral("Count2Label"))->font().underline());
}

}  // namespace
}  // namespace app::testing
