// TMyEdit: Print Record to a PDF file, one page per copy; a cancelled dialog prints nothing.
#include <QFile>
#include <QPrinter>
#include <QRegularExpression>

#include "my_edit_test_fixture.h"

namespace my_edit_testing {
namespace {

TEST_F(MyEditTest, PrintRecordWritesOnePagePerCopyToAPdfFile) {
    open(1);
    type("AlphaCatalog", QStringLiteral("SG 1"));
    const QString pdf = program.path(QStringLiteral("record.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setCopyCount(2);
    ASSERT_TRUE(editor().printRecord(printer));
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    EXPECT_EQ(QString::fromLatin1(bytes).count(page), 2);
    EXPECT_EQ(platform.busyCount(), 1);
    EXPECT_EQ(platform.busyDepth(), 0);
}

TEST_F(MyEditTest, CancelledPrintDialogPrintsNothing) {
    open(1);
    platform.queuePrint(std::nullopt);
    editor().MenuPrintRecordClick();
    EXPECT_EQ(platform.printDialogs(), 1);
    EXPECT_EQ(platform.busyCount(), 0);
    EXPECT_TRUE(platform.boxes().empty());
}

}  // namespace
}  // namespace my_edit_testing
