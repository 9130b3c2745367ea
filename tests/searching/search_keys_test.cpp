// The Search and Locate windows from the keyboard: keys typed right after a click on a value
// cell, comparisons chosen with "=", ">", "<" and F4, the line on how levels combine, and the
// Locate field list chosen letter by letter.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "searching/my_locate_dialog.h"
#include "searching/my_locate_dlg.h"
#include "searching/my_search.h"
#include "searching/search_grid.h"
#include "searching/search_options.h"
#include "ui/scripted_platform.h"

namespace editing {
namespace {

constexpr int kCountry = 3, kYear = 7, kDate = 14;
constexpr int kValue = SearchGridWidget::kValueColumn;

class SearchKeysTest : public ::testing::Test {
  protected:
    void SetUp() override {
        search_ = std::make_unique<TMySearch>(MySearchContext{});
        search_->show();
        search_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(search_.get()));
    }

    // Types into whatever has the keyboard focus, as a user's keys go.
    static void type(const QString& text) {
        for (QChar c : text) {
            QWidget* focus = QApplication::focusWidget();
            ASSERT_NE(focus, nullptr);
            QTest::keyClicks(focus, QString(c));
        }
    }
    // A pick window shown and closed leaves no window active: the search window is again.
    void reactivate() {
        search_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(search_.get()));
    }
    static void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, key, mods);
        QApplication::processEvents();
    }
    void clickCell(int row, int column) {
        QTableWidget* grid = search_->SearchGrid;
        const QRect cell = grid->visualItemRect(grid->item(row, column));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
    QString cell(int row) {
        search_->SearchGrid->commitEditor();
        return search_->SearchGrid->cellText(row, kValue);
    }

    ui::ScriptedPlatform platform_;
    ui::ScopedPlatform installed_{platform_};
    std::unique_ptr<TMySearch> search_;
};

TEST_F(SearchKeysTest, KeysTypedRightAfterAClickOnTheCurrentValueCellArrive) {
    // The editor closes when the focus leaves it; the value cell stays current.
    search_->SearchGrid->valueEditor()->setFocus();
    search_->ExitButton->setFocus();
    ASSERT_EQ(search_->SearchGrid->valueEditor(), nullptr);
    ASSERT_EQ(search_->SearchGrid->currentRow(), 1);
    ASSERT_TRUE(search_->SearchGrid->item(1, kValue)->isSelected());
    // A click right after the editor closed is taken as closing it; the user comes back later.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    clickCell(1, kValue);
    type(QStringLiteral("AU-1"));
    EXPECT_EQ(cell(1).trimmed(), "AU-1");

    // The same for a cell made current by the click.
    clickCell(kCountry, kValue);
    type(QStringLiteral("France"));
    EXPECT_EQ(cell(kCountry).trimmed(), "France");
}

TEST_F(SearchKeysTest, ComparisonsAreChosenFromTheKeyboardAndTheValueStays) {
    search_->SearchGrid->setCurrentCell(kYear, kValue);
    search_->SearchGrid->valueEditor()->setFocus();
    type(QStringLiteral("1900"));
    press(Qt::Key_Greater, Qt::ShiftModifier);
    EXPECT_EQ(search_->rowOperator(kYear), collection::kOpGreater);
    EXPECT_TRUE(cell(kYear).startsWith("> 1900")) << cell(kYear).toStdString();
    // The key chose the comparison and did not land in the value.
    EXPECT_EQ(cell(kYear).count('>'), 1);
    press(Qt::Key_Less, Qt::ShiftModifier);
    EXPECT_EQ(search_->rowOperator(kYear), collection::kOpLess);
    press(Qt::Key_Equal);
    EXPECT_EQ(search_->rowOperator(kYear), collection::kOpEqual);
    EXPECT_EQ(cell(kYear).trimmed(), "= 1900");

    // In a text row these keys are text.
    search_->SearchGrid->setCurrentCell(kCountry, kValue);
    search_->SearchGrid->valueEditor()->setFocus();
    type(QStringLiteral("<a>"));
    EXPECT_EQ(cell(kCountry).trimmed(), "<a>");
}

TEST_F(SearchKeysTest, F4AndEnterOnTheMarkerOpenThePickWindowWorkedByKeys) {
    int shown = 0;
    auto pickRange = [&shown](QDialog& d) {
        auto& options = static_cast<TSearchOptions&>(d);
        ++shown;
        options.ListBox1->setFocus();
        QTest::keyClick(options.ListBox1, Qt::Key_End);
        QTest::keyClick(options.ListBox1, Qt::Key_Return);
    };
    platform_.queueModal(pickRange);
    search_->SearchGrid->setCurrentCell(kDate, kValue);
    search_->SearchGrid->valueEditor()->setFocus();
    press(Qt::Key_F4);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(search_->rowOperator(kDate), collection::kOpRange);

    platform_.queueModal(pickRange);
    reactivate();
    search_->SearchGrid->setCurrentCell(kYear, SearchGridWidget::kMarkerColumn);
    search_->SearchGrid->setFocus();
    press(Qt::Key_Return);
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(search_->rowOperator(kYear), collection::kOpRange);

    // A plain text row has no pick window: F4 opens nothing.
    reactivate();
    search_->SearchGrid->setCurrentCell(1, kValue);
    search_->SearchGrid->valueEditor()->setFocus();
    press(Qt::Key_F4);
    EXPECT_EQ(shown, 2);
}

TEST_F(SearchKeysTest, OneLineTellsHowLevelsCombine) {
    ASSERT_NE(search_->LevelsNote, nullptr);
    EXPECT_TRUE(search_->LevelsNote->isVisible());
    EXPECT_TRUE(search_->LevelsNote->text().contains("every field"));
    EXPECT_TRUE(search_->LevelsNote->text().contains("alternative"));
    // Nothing covers it.
    EXPECT_FALSE(search_->LevelsNote->geometry().intersects(search_->SearchGrid->geometry()));
    EXPECT_FALSE(search_->LevelsNote->geometry().intersects(search_->OkButton->geometry()));
}

TEST(LocateKeysTest, TypingAFieldNameStaysInTheListUntilEnter) {
    ui::ScriptedPlatform platform;
    ui::ScopedPlatform installed(platform);
    QWidget owner;
    TMyLocateDialog component(&owner);
    TMyLocateDlg dlg(component);
    for (const char* label : {"Cancellation", "Condition", "Country", "Description"})
        dlg.FieldNameComboBox->addItem(QLatin1String(label), QLatin1String(label));
    dlg.FieldNameComboBox->setCurrentIndex(-1);
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    ASSERT_EQ(QApplication::focusWidget(), dlg.FieldNameComboBox);

    QTest::keyClicks(dlg.FieldNameComboBox, "Cou");
    EXPECT_EQ(dlg.FieldNameComboBox->currentText(), "Country");
    EXPECT_EQ(QApplication::focusWidget(), dlg.FieldNameComboBox);
    EXPECT_EQ(dlg.SearchValue->text(), "");

    QTest::keyClick(dlg.FieldNameComboBox, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), dlg.SearchValue);
    EXPECT_TRUE(dlg.isVisible());  // Enter in the list does not search
    QTest::keyClicks(dlg.SearchValue, "Fr");
    EXPECT_EQ(dlg.SearchValue->text(), "Fr");

    // A choice from the program (a remembered field) still moves to the value.
    dlg.FieldNameComboBox->setFocus();
    dlg.FieldNameComboBox->setCurrentIndex(0);
    EXPECT_EQ(QApplication::focusWidget(), dlg.SearchValue);
}

}  // namespace
}  // namespace editing
