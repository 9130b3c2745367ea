// Navigate "&Viewer" through the main window: a renamed field titles its grid column, a hidden
// field leaves the grid and comes back in its old place, and the settings file keeps the view.
#include <QDialog>
#include <QPushButton>
#include <QTableWidget>

#include "app_test_env.h"
#include "collection/profile_file.h"
#include "ui/data_grid_model.h"

namespace app::testing {
namespace {

class ViewerConfigFlowTest : public AppTest {
  protected:
    QStringList columnTitles() {
        auto* model = main_->findChild<ui::StampTableModel*>(QStringLiteral("MyDataSource"));
        QStringList out;
        for (int c = 0; c < model->columnCount(); ++c)
            out << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        return out;
    }
    // Opens the viewer configuration, runs `edit` on it and leaves with Exit.
    void configure(std::function<void(QDialog&)> edit) {
        platform_.queueModal([edit](QDialog& d) {
            edit(d);
            d.findChild<QPushButton*>(QStringLiteral("ExitButton"))->click();
        });
        trigger(QStringLiteral("ViewerSpeed"));
    }
    static void toggleShown(QDialog& d, int row) {
        emit d.findChild<QTableWidget*>(QStringLiteral("FieldsToDisplay"))
            ->cellDoubleClicked(row, 1);
    }
};

TEST_F(ViewerConfigFlowTest, RenamedAndHiddenFieldsShowInTheGridAndAreStored) {
    start().SetViewerOptions();
    EXPECT_EQ(columnTitles().mid(0, 4),
              (QStringList{"Alpha Catalog", "Description", "Country", "Face"}));
    configure([](QDialog& d) {
        d.findChild<QTableWidget*>(QStringLiteral("FieldNameGrid"))
            ->item(2, 1)
            ->setText(QStringLiteral("Land"));
        toggleShown(d, 1);  // Description hidden
    });
    EXPECT_EQ(columnTitles().mid(0, 3), (QStringList{"Alpha Catalog", "Land", "Face"}));

    configure([](QDialog& d) { toggleShown(d, 1); });
    EXPECT_EQ(columnTitles().mid(0, 3), (QStringList{"Alpha Catalog", "Description", "Land"}));

    main_->close();
    main_.reset();
    collection::ProfileFile ini(programDir() + QStringLiteral("/MASTER.INI"));
    EXPECT_EQ(ini.read(QStringLiteral("Field Names"), QStringLiteral("Country")),
              QStringLiteral("Land"));
    EXPECT_EQ(ini.read(QStringLiteral("Display Fields"), QStringLiteral("Descriptio")),
              QStringLiteral("Yes"));
}

}  // namespace
}  // namespace app::testing
