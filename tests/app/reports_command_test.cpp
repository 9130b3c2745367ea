// The main window's Reports command: the Reports window on the current collection, its report
// file written at start-up, and a report printed to a text file from there.
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "app_test_env.h"
#include "reports/my_report.h"
#include "reports/report_file.h"
#include "reports/report_form.h"

namespace app::testing {
namespace {

using ReportsCommandTest = AppTest;

TEST_F(ReportsCommandTest, SpeedButtonOpensReportsAndPrintToFileRunsTheReport) {
    makeCollection(masterPath(), {QStringLiteral("A1"), QStringLiteral("B2")});
    start();
    EXPECT_EQ(reports::ReportFile::inFolder(programDir()).count(), 6);

    const QString out = path(QStringLiteral("CHECKLIST.TXT"));
    QString status;
    int reportsShown = 0;
    platform_.queueModal([&](QDialog& d) {
        ++reportsShown;
        auto* window = qobject_cast<reports::TMyReport*>(&d);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Reports"));
        EXPECT_EQ(window->ReportBox->count(), 6);
        EXPECT_EQ(window->selectedReport(), 0);  // "Last Report" defaults to 0
        platform_.queueFilePath(out);
        platform_.queueModal([&](QDialog& f) {
            auto& form = static_cast<reports::TReportForm&>(f);
            form.FormActivate();
            status = form.StatusLabel->text();
        });
        window->PrintFileButton->click();
    });
    trigger("ReportSpeed");
    EXPECT_EQ(reportsShown, 1);
    EXPECT_EQ(status, QStringLiteral("\nReport Completed!"));
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.contains("A1"));
    EXPECT_TRUE(text.contains("B2"));
    EXPECT_TRUE(text.contains("GRAND TOTALS"));
}

}  // namespace
}  // namespace app::testing
