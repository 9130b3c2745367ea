// Edit "&Undo" and "&Recall Deleted Stamps..." through the main window, and the delete question
// that names the stamp: each kind of change comes back byte for byte, one step at a time.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "app_test_env.h"
#include "editing/recall_window.h"
#include "import_driver.h"
#include "record_editor_driver.h"
#include "ui/masked_edit.h"

namespace app::testing {
namespace {

class UndoRecallFlowTest : public AppTest {
  protected:
    TMain& startWith(const QStringList& catalogues) {
        makeCollection(masterPath(), catalogues);
        TMain& w = start();
        w.SetViewerOptions();
        return w;
    }
    std::vector<std::string> allBytes() {
        std::vector<std::string> bytes;
        for (std::uint32_t r = 1; r <= main_->MyTable.physicalCount(); ++r)
            bytes.push_back(main_->MyTable.recordBytes(r));
        return bytes;
    }
    QAction* undoItem() { return main_->findChild<QAction*>(QStringLiteral("MenuUndo")); }
    QString count() { return main_->findChild<QLabel*>(QStringLiteral("CountLabel"))->text(); }
    void selectRow(int row) {
        ui::DataGrid* grid = viewerGrid(*main_);
        grid->setCurrentIndex(grid->model()->index(row, 0));
    }
};

TEST_F(UndoRecallFlowTest, DeleteNamesTheStampAndUndoBringsItBack) {
    startWith({QStringLiteral("AU-0001"), QStringLiteral("AU-0003")});
    const auto original = allBytes();
    EXPECT_FALSE(undoItem()->isEnabled());
    EXPECT_EQ(undoItem()->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+Z")));
    selectRow(1);
    platform_.queueAnswer(ui::MessageAnswer::Yes);
    trigger("MenuDelete");
    EXPECT_EQ(platform_.boxSummary(),
              QStringList{QStringLiteral("Confirm: Delete this record?\n\nAU-0003  AU-0003")});
    EXPECT_EQ(count(), QStringLiteral("1"));
    EXPECT_TRUE(undoItem()->isEnabled());
    EXPECT_EQ(undoItem()->text(), QStringLiteral("&Undo Delete of AU-0003"));

    trigger("MenuUndo");
    EXPECT_EQ(allBytes(), original);
    EXPECT_EQ(count(), QStringLiteral("2"));
    EXPECT_EQ(undoItem()->text(), QStringLiteral("&Undo"));
    EXPECT_FALSE(undoItem()->isEnabled());
    EXPECT_EQ(platform_.boxes().size(), 1u);
}

TEST_F(UndoRecallFlowTest, EditorUpdatesAddsAndGridCellEditsAreUndoneInTurn) {
    makeCollection(masterPath(), {QStringLiteral("A1"), QStringLiteral("B2")});
    setCollectionKey(masterPath(), QStringLiteral("Grid Options"), QStringLiteral("Field Editing"),
                     QStringLiteral("Yes"));
    TMain& w = start();
    w.SetViewerOptions();
    const auto original = allBytes();
    selectRow(0);
    platform_.queueModal([](QDialog& d) {
        typeInto(d, "Description", QStringLiteral("Changed in the editor"));
        press(d, "UpdateExitButton");
    });
    trigger("MenuEdit");
    platform_.queueModal([](QDialog& d) {
        typeInto(d, "AlphaCatalog", QStringLiteral("C3"));
        press(d, "UpdateExitButton");
    });
    trigger("MenuAdd");
    auto* model = w.findChild<ui::StampTableModel*>(QStringLiteral("MyDataSource"));
    int countryColumn = 0;
    while (model->fieldAt(countryColumn) != 3) ++countryColumn;
    // Sorted on the country: C3 (none), A1, B2.
    ASSERT_TRUE(model->setData(model->index(1, countryColumn), QStringLiteral("Peru")));
    ASSERT_EQ(w.MyTable.recordCount(), 3u);

    const QStringList names = {QStringLiteral("&Undo Update of A1"),
                               QStringLiteral("&Undo Add of C3"),
                               QStringLiteral("&Undo Update of A1")};
    for (const QString& name : names) {
        EXPECT_EQ(undoItem()->text(), name);
        trigger("MenuUndo");
    }
    EXPECT_EQ(w.MyTable.recordCount(), 2u);
    const auto undone = allBytes();
    ASSERT_EQ(undone.size(), 3u);
    EXPECT_EQ(undone[0], original[0]);
    EXPECT_EQ(undone[1], original[1]);
    EXPECT_EQ(undone[2][0], '*');  // the added record is deleted, and can be recalled
    EXPECT_TRUE(platform_.boxes().empty()) << platform_.boxSummary().join(u'\n').toStdString();
}

TEST_F(UndoRecallFlowTest, ReplaceAndImportAreOneStepEach) {
    TMain& w = startWith({QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("B3")});
    const auto original = allBytes();
    queueTextImport(platform_, path(QStringLiteral("two.txt")), "\"N1\"\r\n\"N2\"\r\n");
    trigger("MenuImport");
    ASSERT_EQ(w.MyTable.recordCount(), 5u);
    platform_.queueModal([](QDialog& d) {
        d.findChild<QComboBox*>(QStringLiteral("FieldBox"))->setCurrentIndex(2);  // Country
        d.findChild<ui::MaskedEdit*>(QStringLiteral("SearchText"))->setMaskedText("A1");
        d.findChild<ui::MaskedEdit*>(QStringLiteral("ReplaceText"))->setMaskedText("Chile");
        d.findChild<QCheckBox*>(QStringLiteral("ConfirmBox"))->setChecked(false);
        d.findChild<QPushButton*>(QStringLiteral("StartButton"))->click();
    });
    trigger("MenuSearchReplace");
    ASSERT_NE(w.MyTable.recordBytes(1), original[0]);

    EXPECT_EQ(undoItem()->text(), QStringLiteral("&Undo Search and Replace"));
    trigger("MenuUndo");
    EXPECT_EQ(undoItem()->text(), QStringLiteral("&Undo Import"));
    trigger("MenuUndo");
    EXPECT_EQ(w.MyTable.recordCount(), 3u);
    const auto undone = allBytes();
    for (std::size_t r = 0; r < original.size(); ++r) EXPECT_EQ(undone[r], original[r]) << r;
    EXPECT_FALSE(undoItem()->isEnabled());
}

TEST_F(UndoRecallFlowTest, RecallWindowListsDeletedStampsAndBringsThemBack) {
    TMain& w = startWith({QStringLiteral("A1"), QStringLiteral("B2"), QStringLiteral("C3")});
    for (int i = 0; i < 2; ++i) {
        selectRow(0);
        platform_.queueAnswer(ui::MessageAnswer::Yes);
        trigger("MenuDelete");
    }
    ASSERT_EQ(count(), QStringLiteral("1"));
    platform_.queueModal([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Recall Deleted Stamps"));
        auto* grid = d.findChild<QTableWidget*>(QStringLiteral("DeletedGrid"));
        ASSERT_EQ(grid->rowCount(), 2);
        EXPECT_EQ(grid->item(1, 0)->text(), QStringLiteral("2"));
        EXPECT_EQ(grid->item(1, 1)->text(), QStringLiteral("B2"));
        EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), QStringLiteral("Country"));
        grid->selectAll();
        press(d, "RecallButton");
        EXPECT_EQ(grid->rowCount(), 0);
        EXPECT_EQ(d.findChild<QLabel*>(QStringLiteral("CountLabel"))->text(),
                  QStringLiteral("No deleted stamps are waiting to be packed."));
        press(d, "CloseButton");
    });
    trigger("MenuRecall");
    EXPECT_EQ(count(), QStringLiteral("3"));
    EXPECT_EQ(w.MyTable.recordCount(), 3u);
    EXPECT_EQ(undoItem()->text(), QStringLiteral("&Undo Recall of 2 stamps"));
    trigger("MenuUndo");
    EXPECT_EQ(count(), QStringLiteral("1"));
}

}  // namespace
}  // namespace app::testing
