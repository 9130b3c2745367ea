// The help document shipped beside the program: every window keyword is an anchor the help
// window can open at, and the date-reading rule is explained.
#include <gtest/gtest.h>

#include <QFile>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

#include "ui/help_viewer.h"

namespace {

QString helpPath() {
    return QStringLiteral(TESS_SOURCE_DIR "/data/TESSELON.HLP");
}

TEST(HelpFileTest, EveryWindowKeywordIsAnAnchor) {
    QFile file(helpPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    for (const char* keyword :
         {"Input Window", "Search Window", "Report Window", "User Defined Reports", "Import Window",
          "Export Window", "Backup and Restore", "Viewer Configuration Title"}) {
        EXPECT_TRUE(html.contains(QStringLiteral("<a name=\"%1\">").arg(keyword))) << keyword;
        EXPECT_TRUE(html.contains(QStringLiteral("href=\"#%1\"").arg(keyword))) << keyword;
    }
    EXPECT_TRUE(
        html.contains(QStringLiteral("80\nyears before the current year to 19 years after")) ||
        html.contains(QStringLiteral("80 years before the current year to 19 years after")));
}

TEST(HelpFileTest, SaysWhichLettersACollectionCanHold) {
    QFile file(helpPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(html.contains(QStringLiteral("<a name=\"Letters\">")));
    EXPECT_TRUE(html.contains(QStringLiteral("href=\"#Letters\"")));
    EXPECT_TRUE(html.contains(QStringLiteral("Windows code page 1252")));
}

TEST(HelpFileTest, HelpWindowOpensAtAKeyword) {
    ui::HelpViewer viewer;
    viewer.resize(400, 200);
    viewer.show();
    viewer.openAt(helpPath(), QStringLiteral("Backup and Restore"));
    QTextBrowser* browser = viewer.browser();
    const QTextCursor top = browser->cursorForPosition(QPoint(5, 5));
    EXPECT_GT(top.position(), 0);
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("Backup and Restore")));
}

}  // namespace

namespace {

TEST(HelpFileTest, UndoRecallAndCodePagesHaveTheirSections) {
    QFile file(helpPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    for (const char* keyword : {"Undo", "Recall Deleted Stamps", "Code Pages", "Keys"}) {
        EXPECT_TRUE(html.contains(QStringLiteral("<a name=\"%1\">").arg(keyword))) << keyword;
        EXPECT_TRUE(html.contains(QStringLiteral("href=\"#%1\"").arg(keyword))) << keyword;
    }
}

}  // namespace
