// The Import and Export windows as shown: side texts whole and clear of other controls, the
// Export window's headings, and its radio buttons announced as radio buttons.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "collection/collection_settings.h"
#include "engine/table.h"
#include "interchange/my_export.h"
#include "interchange/my_import.h"
#include "interchange_test_support.h"
#include "ui/scripted_platform.h"

namespace interchange::testing {
namespace {

// The side text holds its words in full and overlaps no other visible control of the window.
void expectSideTextClear(QWidget& window, QLabel* side) {
    EXPECT_GE(side->height(), side->heightForWidth(side->width())) << "side text cut";
    for (QWidget* w : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w == side || !w->isVisible()) continue;
        EXPECT_FALSE(w->geometry().intersects(side->geometry()))
            << w->objectName().toStdString() << " overlaps the side text";
        EXPECT_LE(w->geometry().bottom(), window.height()) << w->objectName().toStdString();
    }
}

class WindowLayoutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        makeCollection(collection_);
        table_.open(collection_, engine::OpenMode::Shared);
        context_.table = &table_;
        context_.settings = &settings_;
    }
    ui::ScriptedPlatform platform_;
    ui::ScopedPlatform installed_{platform_};
    Scratch scratch_;
    std::string collection_ = scratch_.file("STAMPS.DBF");
    engine::Table table_;
    collection::CollectionSettings settings_;
    InterchangeContext context_;
};

TEST_F(WindowLayoutTest, ImportSideTextStandsClearOfTheCountAndItsTitles) {
    for (double scale : {1.0, 1.5}) {
        context_.show.scaleFactor = scale;
        TMyImport window(context_, 1, QString(), {"a", "b"});
        window.show();
        expectSideTextClear(window, window.SideText);
        EXPECT_EQ(window.ImportLabel->text(), "Import");
        EXPECT_EQ(window.CountLabel->text(), "Count");
    }
}

TEST_F(WindowLayoutTest, ExportWindowHasItsHeadingsAndRealRadioButtons) {
    TMyExport window(context_);
    window.show();
    expectSideTextClear(window, window.SideText);
    EXPECT_EQ(window.Notes->text(), "NOTES");
    EXPECT_EQ(window.WhatToExport->text(), "What to Export");
    EXPECT_EQ(window.HowToExport->text(), "How To Export");
    EXPECT_EQ(window.ExportProgress->text(), "Export Progress");
    // Each heading stands above the controls it names.
    EXPECT_LT(window.WhatToExport->y(), window.ExportEntire->y());
    EXPECT_LT(window.HowToExport->y(), window.AsciiFile->y());
    EXPECT_GT(window.HowToExport->y(), window.ExportSearch->y());
    EXPECT_LT(window.ExportProgress->y(), window.ExportGauge->y());
    for (QRadioButton* r :
         {window.ExportEntire, window.ExportSearch, window.AsciiFile, window.DBaseFile}) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(r);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->role(), QAccessible::RadioButton) << r->objectName().toStdString();
    }
    // Still two groups of two: a choice in one leaves the other group alone.
    window.DBaseFile->click();
    EXPECT_FALSE(window.AsciiFile->isChecked());
    EXPECT_TRUE(window.ExportEntire->isChecked());
    window.AsciiFile->click();
    EXPECT_FALSE(window.DBaseFile->isChecked());
    EXPECT_TRUE(window.ExportEntire->isChecked());
}

}  // namespace
}  // namespace interchange::testing
