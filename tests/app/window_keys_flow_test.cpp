// F1 and Escape in every window the main window opens: F1 opens the help where the window's
// Help command does (the contents when it has none), Escape closes the window as its Cancel,
// Exit or Close button does.
#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QTest>

#include "app_test_env.h"

namespace app::testing {
namespace {

using WindowKeysFlowTest = AppTest;

struct WindowCase {
    const char* command;
    const char* title;
    const char* keyword;  // nullptr: the contents page
};

TEST_F(WindowKeysFlowTest, F1OpensHelpAndEscapeClosesEveryWindow) {
    makeCollection(masterPath(), {QStringLiteral("A1")});
    TMain& w = start();
    w.SetViewerOptions();
    const WindowCase cases[] = {
        {"MenuAdd", nullptr, "Input Window"},
        {"MenuSearch", "Search", "Search Window"},
        {"MenuReports", nullptr, "Report Window"},
        {"MenuViewer", nullptr, "Viewer Configuration Title"},
        {"MenuExport", "Export", "Export Window"},
        {"MenuRecall", "Recall Deleted Stamps", "Recall Deleted Stamps"},
        {"MenuSortOrder", "Sort Order", nullptr},
        {"MenuSearchReplace", "Search and Replace", nullptr},
        {"MenuImport", "Import Format", nullptr},
        {"MenuMainColor", nullptr, nullptr},
        {"MenuTips", "Tip of the Day", nullptr},
    };
    for (const WindowCase& c : cases) {
        SCOPED_TRACE(c.command);
        platform_.clearRecords();
        bool closedByEscape = false;
        platform_.queueModal([&](QDialog& d) {
            if (c.title) {
                EXPECT_EQ(d.windowTitle(), QString::fromLatin1(c.title));
            }
            QWidget* target = d.focusWidget() ? d.focusWidget() : &d;
            QTest::keyClick(target, Qt::Key_F1);
            EXPECT_TRUE(d.isVisible());
            target = d.focusWidget() ? d.focusWidget() : &d;
            QTest::keyClick(target, Qt::Key_Escape);
            closedByEscape = !d.isVisible();
            if (!closedByEscape) d.reject();
        });
        trigger(QString::fromLatin1(c.command));
        EXPECT_TRUE(closedByEscape);
        ASSERT_EQ(platform_.helpRequests().size(), 1u);
        if (c.keyword)
            EXPECT_EQ(platform_.helpRequests()[0].keyword, QString::fromLatin1(c.keyword));
        else
            EXPECT_TRUE(platform_.helpRequests()[0].contents);
        EXPECT_TRUE(platform_.boxes().empty()) << platform_.boxSummary().join(u'\n').toStdString();
    }

    // The main window: F1 opens the contents, Escape closes nothing.
    platform_.clearRecords();
    w.show();
    QTest::keyClick(&w, Qt::Key_F1);
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(platform_.helpRequests().size(), 1u);
    EXPECT_TRUE(platform_.helpRequests()[0].contents)
        << platform_.helpRequests()[0].keyword.toStdString();
}

TEST_F(WindowKeysFlowTest, EscapeInTheRecordEditorAsksAboutUnsavedChangesAsExitDoes) {
    makeCollection(masterPath(), {QStringLiteral("A1")});
    TMain& w = start();
    w.SetViewerOptions();
    bool stayed = false;
    platform_.queueAnswer(ui::MessageAnswer::No);
    platform_.queueModal([&](QDialog& d) {
        auto* box = d.findChild<QLineEdit*>(QStringLiteral("Description"));
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("new"));
        QTest::keyClick(box, Qt::Key_Escape);
        stayed = d.isVisible();
        d.reject();
    });
    trigger("MenuEdit");
    EXPECT_TRUE(stayed);
    EXPECT_EQ(platform_.boxSummary(),
              QStringList{QStringLiteral(
                  "Warning: Data has changed.  Do you want to exit without updating?")});
}

}  // namespace
}  // namespace app::testing
