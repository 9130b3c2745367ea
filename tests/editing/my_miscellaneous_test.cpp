// The selection window for the Miscellaneous and Faults texts, run through the scripted platform.
#include "editing/my_miscellaneous.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <functional>

#include "collection/data_list_files.h"
#include "data_list_test_support.h"
#include "ui/scripted_platform.h"

using collection::defaultListPath;
using collection::kFaultsList;
using collection::kMiscList;
using editing::TMyMiscellaneous;
using testing_support::readBytes;
using testing_support::TempProgramDir;
using testing_support::writeDefaultList;

namespace {

class SelectionWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.valid());
        ui::setPlatform(&platform);
        writeDefaultList(kMiscList, {"Perfin", "booklet pane", "Coil", "Airmail"});
        writeDefaultList(kFaultsList, {"Thin", "Crease"});
    }
    void TearDown() override { ui::setPlatform(nullptr); }

    // Opens the window of `kind` on `text`, runs `act` while shown; returns whether Ok was used.
    bool select(int kind, QString& text, const std::function<void(TMyMiscellaneous&)>& act) {
        platform.queueModal([&](QDialog& dialog) {
            auto* window = dynamic_cast<TMyMiscellaneous*>(&dialog);
            ASSERT_NE(window, nullptr);
            act(*window);
        });
        return TMyMiscellaneous::Select(kind, text, nullptr);
    }
    static QStringList entriesOf(const TMyMiscellaneous& window) {
        return testing_support::entryTexts(window.MiscList);
    }
    static QStringList selectedOf(const TMyMiscellaneous& window) {
        return testing_support::entryTexts(window.MiscList, true);
    }

    TempProgramDir dir;
    ui::ScriptedPlatform platform;
};

}  // namespace

TEST_F(SelectionWindowTest, EntriesOfTheTextAreSelectedInTheSortedList) {
    QString text = QStringLiteral("Perfin, Coil");
    EXPECT_TRUE(select(TMyMiscellaneous::kMiscellaneous, text, [](TMyMiscellaneous& window) {
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Miscellaneous"));
        EXPECT_EQ(entriesOf(window), (QStringList{"Airmail", "booklet pane", "Coil", "Perfin"}));
        EXPECT_EQ(selectedOf(window), (QStringList{"Coil", "Perfin"}));
        EXPECT_EQ(window.FindMisc(QStringLiteral("Coil")), 2);
        EXPECT_EQ(window.FindMisc(QStringLiteral("coil")), -1);
        window.OkButton->click();
    }));
    EXPECT_EQ(text, QStringLiteral("Coil, Perfin"));  // list order
}

TEST_F(SelectionWindowTest, EntryMissingFromTheFileIsShownSelectedButNotWritten) {
    const QByteArray before = readBytes(defaultListPath(kMiscList));
    QString text = QStringLiteral("Coil,Block of four");
    select(TMyMiscellaneous::kMiscellaneous, text, [](TMyMiscellaneous& window) {
        EXPECT_EQ(entriesOf(window),
                  (QStringList{"Airmail", "Block of four", "booklet pane", "Coil", "Perfin"}));
        EXPECT_EQ(selectedOf(window), (QStringList{"Block of four", "Coil"}));
        window.MiscList->item(0)->setSelected(true);  // a click adds Airmail
        window.OkButton->click();
    });
    EXPECT_EQ(text, QStringLiteral("Airmail, Block of four, Coil"));
    EXPECT_EQ(readBytes(defaultListPath(kMiscList)), before);
}

TEST_F(SelectionWindowTest, OkWithNothingSelectedEmptiesTheText) {
    QString text = QStringLiteral("Thin");
    select(TMyMiscellaneous::kFaults, text, [](TMyMiscellaneous& window) {
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Faults"));
        EXPECT_EQ(entriesOf(window), (QStringList{"Crease", "Thin"}));
        window.MiscList->item(1)->setSelected(false);
        window.OkButton->click();
    });
    EXPECT_TRUE(text.isEmpty());
}

TEST_F(SelectionWindowTest, CancelLeavesTheText) {
    QString text = QStringLiteral("Thin, Stain");
    EXPECT_FALSE(select(TMyMiscellaneous::kFaults, text, [](TMyMiscellaneous& window) {
        window.MiscList->clearSelection();
        window.CancelButton->click();
    }));
    EXPECT_EQ(text, QStringLiteral("Thin, Stain"));
    EXPECT_EQ(collection::readListFile(defaultListPath(kFaultsList)),
              (QStringList{"Thin", "Crease"}));
}
