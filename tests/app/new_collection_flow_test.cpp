// New Database offers the new collection's code page, and the file dialogs start where the user
// keeps files rather than in the program's own data folder.
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "app_test_env.h"
#include "record_editor_driver.h"

namespace app::testing {
namespace {

using NewCollectionFlowTest = AppTest;

QString documentsOrHome() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

TEST_F(NewCollectionFlowTest, ANewCollectionKeepsTheChosenCodePage) {
    TMain& w = start();  // MASTER.DBF in the program's data folder
    const QString russian = path(QStringLiteral("RUSSIA.DBF"));
    platform_.queueFilePath(russian);
    platform_.queueFileOption(2);
    trigger("MenuNew");
    ASSERT_EQ(platform_.fileDialogs().size(), 1u);
    const ui::FileDialogRequest& request = platform_.fileDialogs()[0].request;
    EXPECT_EQ(request.initialPath, documentsOrHome());
    ASSERT_EQ(request.options.size(), 6);
    EXPECT_EQ(request.options[0], QStringLiteral("Western European (Windows-1252)"));
    EXPECT_EQ(request.options[2], QStringLiteral("Cyrillic (Windows-1251)"));
    EXPECT_EQ(w.currentCollection(), russian);
    EXPECT_EQ(w.MyTable.codePage(), engine::CodePage::Cp1251);
    QFile file(russian);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(std::uint8_t(file.read(30).at(29)), 0xC9);

    // Russian is stored; Greek is refused, naming the collection's code page.
    w.SetViewerOptions();
    platform_.queueModal([](QDialog& d) {
        typeInto(d, "Country", QStringLiteral("Ελλάδα"));
        press(d, "UpdateButton");
        typeInto(d, "Country", QStringLiteral("Россия"));
        press(d, "UpdateExitButton");
    });
    trigger("MenuAdd");
    EXPECT_EQ(platform_.boxSummary(),
              QStringList{QStringLiteral(
                  "Error: \"Country\" contains characters this collection's code page, Cyrillic "
                  "(Windows-1251), cannot store: Ε λ ά δ α.  Please correct.")});
    EXPECT_EQ(w.MyTable.recordCount(), 1u);
    w.MyTable.first();
    EXPECT_EQ(w.MyTable.text("Country"), "Россия");

    // The next dialog starts in the folder of the collection the user chose.
    platform_.queueFilePath(QString());
    trigger("MenuOpen");
    EXPECT_EQ(platform_.fileDialogs().back().request.initialPath,
              QFileInfo(russian).absolutePath());
    EXPECT_TRUE(platform_.fileDialogs().back().request.options.isEmpty());
}

TEST_F(NewCollectionFlowTest, WesternEuropeanStaysTheDefault) {
    TMain& w = start();
    platform_.queueFilePath(path(QStringLiteral("NEW.DBF")));
    trigger("MenuNew");
    EXPECT_EQ(w.MyTable.codePage(), engine::CodePage::Cp1252);
}

}  // namespace
}  // namespace app::testing
