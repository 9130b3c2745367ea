#include "ui/qt_platform.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
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

// Help asked for from a modal window (the record editor) takes keys and closes while that window
// stays open; a modal window blocks every window that is not its own.
TEST(QtPlatform, HelpFromAModalWindowCanBeUsedAndClosed) {
    QTemporaryDir dir;
    writeHelpFile(dir);
    const QByteArray saved = qgetenv("TESSELLON_PROGRAM_DIR");
    qputenv("TESSELLON_PROGRAM_DIR", dir.path().toUtf8());
    ui::QtPlatform platform;
    QDialog modal;
    modal.setWindowModality(Qt::ApplicationModal);
    modal.show();
    for (int round = 0; round < 2; ++round) {  // a second time, on a new help window
        platform.showHelpKeyword(&modal, QStringLiteral("Input Window"));
        QPointer<ui::HelpViewer> viewer;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* help = qobject_cast<ui::HelpViewer*>(w); help && help->isVisible())
                viewer = help;
        ASSERT_NE(viewer, nullptr);
        QTest::keyClick(viewer->windowHandle(), Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(viewer.isNull() || !viewer->isVisible());
        EXPECT_TRUE(modal.isVisible());
    }
    modal.hide();
    // Without a modal window the help window stands on its own.
    platform.showHelpContents(nullptr);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* help = qobject_cast<ui::HelpViewer*>(w)) {
            EXPECT_EQ(help->parentWidget(), nullptr);
            help->close();
        }
    if (saved.isEmpty())
        qunsetenv("TESSELLON_PROGRAM_DIR");
    else
        qputenv("TESSELLON_PROGRAM_DIR", saved);
}

}  // namespace
