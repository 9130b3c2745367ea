// Locate and Locate Next as the main window runs them: the dialog, the three match types, what
// is remembered, and the messages at the end of the matches.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app_test_env.h"
#include "searching/my_locate_dialog.h"
#include "searching/my_locate_dlg.h"
#include "searching/my_search.h"
#include "searching/search_grid.h"
#include "engine/table.h"

namespace app::testing {
namespace {

// Countries of records 1..6; the viewer shows them in Country order (the default sort):
// Africa 2, France 1, FRANCE 3, Freetown 6, Italy 4, Spain 5.
const char* const kCountries[] = {"France", "Africa", "FRANCE", "Italy", "Spain", "Freetown"};

class LocateFlowTest : public AppTest {
  protected:
    TMain& startWithStamps() {
        makeCollection(masterPath());
        engine::Table table;
        table.open(masterPath().toStdString(), engine::OpenMode::Exclusive);
        for (const char* country : kCountries) {
            table.append();
            table.setText("Country", country);
            table.post();
        }
        table.close();
        TMain& w = start();
        w.show();
        return w;
    }

    // Opens Locate (or Locate Next with nothing remembered) and runs `script` in the dialog.
    void locate(const char* command, const std::function<void(editing::TMyLocateDlg&)>& script) {
        platform_.queueModal(
            [script](QDialog& d) { script(static_cast<editing::TMyLocateDlg&>(d)); });
        trigger(command);
    }

    static void chooseCountry(editing::TMyLocateDlg& d, const QString& value) {
        d.FieldNameComboBox->setCurrentIndex(d.FieldNameComboBox->findText("Country"));
        d.SearchValue->setText(value);
    }

    std::uint32_t current() const { return main_->MyTable.recNo(); }
};

TEST_F(LocateFlowTest, PartialMatchAtBeginningThenNextToTheLastMatch) {
    startWithStamps();
    locate("MenuLocate", [](editing::TMyLocateDlg& d) {
        EXPECT_EQ(d.windowTitle(), "Locate Field Value");
        EXPECT_TRUE(d.PartialMatchStartBtn->isChecked());
        // The field labels, sorted.
        EXPECT_EQ(d.FieldNameComboBox->itemText(0), "Alpha Catalog");
        EXPECT_EQ(d.FieldNameComboBox->count(), 25);
        chooseCountry(d, "fr");
        d.FirstButton->click();
    });
    EXPECT_EQ(current(), 1u);
    trigger("LocateNextSpeed");
    EXPECT_EQ(current(), 3u);
    trigger("MenuLocateNext");
    EXPECT_EQ(current(), 6u);
    trigger("MenuLocateNext");
    EXPECT_EQ(current(), 6u);
    EXPECT_EQ(platform_.boxSummary(), QStringList("Locate: No more matches found"));
}

TEST_F(LocateFlowTest, PartialMatchAnywhereAndExactMatch) {
    startWithStamps();
    locate("LocateSpeed", [](editing::TMyLocateDlg& d) {
        chooseCountry(d, "fr");
        d.PartialMatchAnyBtn->click();
        d.FirstButton->click();
    });
    EXPECT_EQ(current(), 2u);  // Africa
    trigger("MenuLocateNext");
    EXPECT_EQ(current(), 1u);
    locate("MenuLocate", [](editing::TMyLocateDlg& d) {
        EXPECT_EQ(d.SearchValue->text(), "fr");  // remembered with the field and the type
        EXPECT_TRUE(d.PartialMatchAnyBtn->isChecked());
        d.ExactMatchBtn->click();
        d.CaseSensitiveCheckBox->setChecked(true);
        d.SearchValue->setText("FRANCE");
        d.FirstButton->click();
    });
    EXPECT_EQ(current(), 3u);
    locate("MenuLocate", [this](editing::TMyLocateDlg& d) {
        d.SearchValue->setText("Nowhere");
        d.NextButton->click();
        EXPECT_TRUE(d.isVisible());
        d.FirstButton->click();
        EXPECT_EQ(platform_.boxSummary(),
                  QStringList({"Locate: No more matches found", "Locate: No matches found"}));
        d.BitBtn1->click();
    });
    EXPECT_EQ(current(), 3u);
}

TEST_F(LocateFlowTest, NextWithNothingRememberedOpensTheDialogAndCancelStillRemembers) {
    startWithStamps();
    const std::uint32_t before = current();
    locate("MenuLocateNext", [this](editing::TMyLocateDlg& d) {
        EXPECT_EQ(main_->locateDialog()->defaultButton, 1);
        // The field list has the focus: no default button until it loses it.
        EXPECT_FALSE(d.FirstButton->isDefault());
        d.FieldNameComboBoxExit();
        EXPECT_TRUE(d.NextButton->isDefault());
        chooseCountry(d, "x");
        // Choosing another field empties the value.
        d.FieldNameComboBox->setCurrentIndex(d.FieldNameComboBox->findText("Topic"));
        EXPECT_TRUE(d.SearchValue->text().isEmpty());
        chooseCountry(d, "ita");
        d.BitBtn1->click();
    });
    EXPECT_EQ(current(), before);
    trigger("MenuLocateNext");
    EXPECT_EQ(current(), 4u);
    EXPECT_TRUE(platform_.boxes().empty());
}

TEST_F(LocateFlowTest, LocateSeesOnlyTheRecordsOfARunningSearch) {
    startWithStamps();
    platform_.queueModal([](QDialog& d) {
        auto& s = static_cast<editing::TMySearch&>(d);
        s.SearchGrid->setCellText(3, editing::SearchGridWidget::kValueColumn, "fr");
        s.OkButton->click();
    });
    trigger("MenuSearch");
    ASSERT_EQ(main_->MyTable.recordCount(), 4u);
    locate("MenuLocate", [](editing::TMyLocateDlg& d) {
        chooseCountry(d, "Ita");
        d.FirstButton->click();
        d.BitBtn1->click();
    });
    EXPECT_EQ(platform_.boxSummary(), QStringList("Locate: No matches found"));
}

}  // namespace
}  // namespace app::testing
