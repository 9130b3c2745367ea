// Where an export may write: never over the open collection's own files (by any name or link),
// and never a half file: a run that fails leaves the target as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QPushButton>
#include <QRadioButton>

#include "collection/collection_own_files.h"
#include "collection/collection_settings.h"
#include "collection/replacing_file.h"
#include "engine/table.h"
#include "interchange/export_run.h"
#include "interchange/my_export.h"
#include "interchange_test_support.h"
#include "ui/scripted_platform.h"

namespace interchange::testing {
namespace {

class ExportTargetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        makeCollection(collection_);
        table_.open(collection_, engine::OpenMode::Shared);
        table_.append();
        table_.setText(table_.requireField("Country"), "Spain");
        table_.post();
        scratch_.write("STAMPS.INI", "[Import]\r\nFile Type=1\r\n");
        scratch_.write("stamps.003", "Mint\r\n");
        request_.fields = {1, 3};
    }
    // Every file of the scratch folder with its bytes, to see that nothing changed.
    std::map<std::string, std::string> folder() const {
        std::map<std::string, std::string> out;
        const QDir dir(QString::fromStdString(scratch_.file("")));
        for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden))
            out[name.toStdString()] = readBytes(scratch_.file(name.toStdString()));
        return out;
    }

    Scratch scratch_;
    std::string collection_ = scratch_.file("STAMPS.DBF");
    engine::Table table_;
    ExportRequest request_;
};

TEST_F(ExportTargetTest, TheCollectionsOwnFilesAreRefusedByEveryName) {
    const std::string link = scratch_.file("link.txt");
    const std::string hard = scratch_.file("hard.txt");
    ASSERT_EQ(::symlink(collection_.c_str(), link.c_str()), 0);
    ASSERT_EQ(::link(scratch_.file("STAMPS.INI").c_str(), hard.c_str()), 0);
    const std::map<std::string, std::string> before = folder();
    const std::vector<std::pair<std::string, std::string>> targets = {
        {collection_, "the table"},
        {scratch_.file("sub/../STAMPS.DBF"), "the table"},
        {link, "the table"},
        {scratch_.file("STAMPS.INI"), "the settings file"},
        {hard, "the settings file"},
        {scratch_.file("stamps.003"), "a data list"},
    };
    QDir().mkpath(QString::fromStdString(scratch_.file("sub")));
    for (const auto& [target, role] : targets) {
        for (bool text : {true, false}) {
            const ExportResult r = text ? exportText(table_, target, request_)
                                        : exportDbf(table_, target, request_);
            EXPECT_EQ(r.written, 0u) << target;
            EXPECT_NE(r.error.find("is " + role + " of the open collection"), std::string::npos)
                << target << ": " << r.error;
            EXPECT_NE(r.error.find(target), std::string::npos) << r.error;
        }
    }
    EXPECT_EQ(folder(), before);
    table_.close();
    engine::Table again;
    again.open(collection_, engine::OpenMode::Shared);
    EXPECT_EQ(rows(again).size(), 1u);
    // Files merely named like the collection are not its own.
    EXPECT_FALSE(collection::collectionFileAt(QString::fromStdString(collection_),
                                              QString::fromStdString(scratch_.write(
                                                  "STAMPS.TXT", "x"))));
    EXPECT_FALSE(collection::collectionFileAt(QString::fromStdString(collection_),
                                              QString::fromStdString(scratch_.file("new.txt"))));
}

TEST_F(ExportTargetTest, AFailedRunLeavesTheOldFileAndNoTemporaryOne) {
    const std::string target = scratch_.write("out.txt", "old content");
    // A table another program holds cannot be replaced: the run fails before writing.
    const std::string held = scratch_.file("HELD.DBF");
    makeCollection(held);
    engine::Table holder;
    holder.open(held, engine::OpenMode::Shared);
    const std::string heldBytes = readBytes(held);
    EXPECT_NE(exportDbf(table_, held, request_).error, "");
    EXPECT_EQ(readBytes(held), heldBytes);
    {
        // A writer given up before its commit removes its temporary file.
        collection::ReplacingFile file(target);
        file.write("new", 3);
        EXPECT_TRUE(QFile::exists(QString::fromStdString(file.temporaryPath())));
    }
    EXPECT_EQ(readBytes(target), "old content");
    ASSERT_EQ(exportText(table_, target, request_).error, "");
    EXPECT_EQ(readBytes(target), "\"\",\"Spain\"\r\n");
    // Through a link the file it names gets the new content; the link stays a link.
    const std::string link = scratch_.file("via-link.txt");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    request_.fields = {3};
    ASSERT_EQ(exportText(table_, link, request_).error, "");
    EXPECT_EQ(readBytes(target), "\"Spain\"\r\n");
    struct stat st {};
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    const std::map<std::string, std::string> files = folder();
    for (const auto& [name, bytes] : files) EXPECT_NE(name.front(), '.') << name;
    // A device is written in place, never renamed over (a node of the null device made here,
    // so a fault could not harm the system's own).
    const std::string device = scratch_.file("null-device");
    if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        EXPECT_EQ(exportText(table_, device, request_).error, "");
        ASSERT_EQ(::stat(device.c_str(), &st), 0);
        EXPECT_TRUE(S_ISCHR(st.st_mode));
    }
}

TEST_F(ExportTargetTest, TheExportWindowNamesTheFileItRefuses) {
    ui::ScriptedPlatform platform;
    ui::ScopedPlatform installed{platform};
    collection::CollectionSettings settings;
    InterchangeContext context;
    context.table = &table_;
    context.settings = &settings;
    const QString ini = QString::fromStdString(scratch_.file("STAMPS.INI"));
    const std::string iniBytes = readBytes(ini.toStdString());
    platform.queueFilePath(ini);
    platform.queueModal([](QDialog& d) {
        auto& w = dynamic_cast<TMyExport&>(d);
        w.AsciiFile->click();
        w.StartExportButton->click();
        w.ExitButton->click();
    });
    TMyExport::ExportData(context);
    ASSERT_EQ(platform.boxSummary().size(), 1);
    EXPECT_TRUE(platform.boxSummary()[0].startsWith("Error: \"" + ini + "\" is the settings file"))
        << platform.boxSummary()[0].toStdString();
    EXPECT_EQ(readBytes(ini.toStdString()), iniBytes);
}

}  // namespace
}  // namespace interchange::testing
