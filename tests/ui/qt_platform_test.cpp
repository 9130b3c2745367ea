#include "ui/qt_platform.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>

#include "ui/help_viewer.h"

namespace {

QString writeHelpFile(const QTemporaryDir& dir) {
    QString html = "<h1>Contents</h1>";
    for (int i = 0; i < 200; ++i) html += "<p>line</p>";
    html += "<a name=\"Input Window\"></a><h2>Input Window</h2><p>About the input window.</p>";
    for (int i = 0; i < 200; ++i) html += "<p>line</p>";
    const QString path = dir.filePath("TESSELON.HLP");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(html.toUtf8());
    return path;
}

TEST(HelpViewer, OpensAtKeywordOrContents) {
    QTemporaryDir dir;
    const QString path = writeHelpFile(dir);
    ui::HelpViewer viewer;
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Tessellon Help"));
    viewer.show();
    viewer.openAt(path, "Input Window");
    EXPECT_GT(viewer.browser()->verticalScrollBar()->value(), 0);
    viewer.openAt(path, QString());
    EXPECT_EQ(viewer.browser()->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(viewer.browser()->toPlainText().startsWith("Contents"));
}

TEST(HelpViewer, MissingFileSaysSo) {
    QTemporaryDir dir;
    ui::HelpViewer viewer;
    viewer.openAt(dir.filePath("TESSELON.HLP"), "Search Window");
    EXPECT_EQ(viewer.browser()->toPlainText(),
              QStringLiteral("The help file TESSELON.HLP could not be opened."));
}

TEST(QtPlatform, FreeSpaceOfAFileNotYetWrittenIsThatOfItsFilesystem) {
    QTemporaryDir dir;
    ui::QtPlatform platform;
    EXPECT_GT(platform.freeDiskSpace(dir.filePath("backup/sub/STAMPS.DBF")), 0);
    EXPECT_GT(platform.freeDiskSpace(dir.path()), 0);
}

TEST(QtPlatform, PdfOutputIsAlwaysOffered) {
    ui::QtPlatform platform;
    const QStringList names = platform.printerNames();
    ASSERT_FALSE(names.isEmpty());
    EXPECT_EQ(names.last(), ui::kPdfPrinterName);
    EXPECT_GE(platform.defaultPrinterIndex(), 0);
    EXPECT_LT(platform.defaultPrinterIndex(), names.size());
}

}  // namespace
