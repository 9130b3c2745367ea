#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sstream>

#include "cli/cli_commands.h"
#include "collection/collection_settings.h"
#include "collection/other_process.h"
#include "collection/sort_order.h"

namespace {

struct SortRun {
    int status;
    std::string out, err;
};

SortRun run(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = cli::runCli(args, out, err);
    return {status, out.str(), err.str()};
}

class CliSortTest : public ::testing::Test {
  protected:
    void SetUp() override {
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
        collection::testing::makeStampCollection(dbf(), {{"b", "Spain", 1950, "19970307"},
                                                         {"A", "austria", 1890, "19961231"},
                                                         {"c", "France", 1920, "19970225"}});
    }
    void TearDown() override { qunsetenv("XDG_CONFIG_HOME"); }

    QString dbf() const { return dir.filePath(QStringLiteral("STAMPS.DBF")); }
    QString ini() const { return dir.filePath(QStringLiteral("STAMPS.INI")); }
    // Catalog values of `dump --tag NewIndex`, in order.
    std::string dumpedCatalogs() {
        SortRun dump = run({"dump", dbf().toStdString(), "--tag", "NewIndex"});
        EXPECT_EQ(dump.status, 0) << dump.err;
        std::string catalogs;
        std::istringstream lines(dump.out);
        for (std::string line; std::getline(lines, line);) catalogs += line.substr(1, 1);
        return catalogs;
    }

    QTemporaryDir dir;
};

TEST_F(CliSortTest, WritesTheLevelsAndOrdersTheTag) {
    SortRun byDate = run({"sort", dbf().toStdString(), "14"});
    ASSERT_EQ(byDate.status, 0) << byDate.err;
    EXPECT_EQ(byDate.out, "Sort order: DTOS(Date)\n");
    EXPECT_EQ(collection::readCollection(ini()).sortLevels, (collection::SortLevels{14, 0, 0, 0}));
    EXPECT_EQ(dumpedCatalogs(), "Acb");

    SortRun byYearThenCatalog = run({"sort", dbf().toStdString(), "3", "0", "1", "0"});
    ASSERT_EQ(byYearThenCatalog.status, 0) << byYearThenCatalog.err;
    EXPECT_EQ(collection::readCollection(ini()).sortLevels, (collection::SortLevels{3, 0, 1, 0}));
    EXPECT_EQ(dumpedCatalogs(), "Acb");

    SortRun byCatalog = run({"sort", dbf().toStdString(), "1"});
    ASSERT_EQ(byCatalog.status, 0);
    EXPECT_EQ(dumpedCatalogs(), "Abc");

    SortRun none = run({"sort", dbf().toStdString(), "0", "0", "0", "0"});
    ASSERT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "Sort order: record order.\n");
    EXPECT_EQ(collection::readCollection(ini()).sortLevels, (collection::SortLevels{0, 0, 0, 0}));
}

TEST_F(CliSortTest, RefusesBadLevelsForeignTablesAndTablesInUse) {
    for (const char* bad : {"26", "-1", "x", "3.5"}) {
        SortRun r = run({"sort", dbf().toStdString(), "3", bad});
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_NE(r.err.find("Not a sort level"), std::string::npos) << bad;
    }
    EXPECT_EQ(run({"sort", dbf().toStdString()}).status, 2);
    EXPECT_EQ(run({"sort", dbf().toStdString(), "1", "2", "3", "4", "5"}).status, 2);

    engine::Table::create(dir.filePath(QStringLiteral("F.DBF")).toStdString(),
                          {{"NAME", engine::FieldType::Character, 10, 0}});
    SortRun foreign = run({"sort", dir.filePath(QStringLiteral("F.DBF")).toStdString(), "1"});
    EXPECT_EQ(foreign.status, 2);
    EXPECT_NE(foreign.err.find("not created with Tessellon"), std::string::npos);

    collection::testing::OtherProcessHolding other(dbf());
    ASSERT_TRUE(other.holds());
    SortRun held = run({"sort", dbf().toStdString(), "1"});
    EXPECT_EQ(held.status, 2);
    EXPECT_EQ(held.err, "Error: " + collection::kSortInUse.toStdString() + "\n");
    EXPECT_FALSE(QFileInfo::exists(ini()));
}

// Two collections whose names share the text before the first dot keep their own settings: the
// sort levels of one go into its own settings file, beside its own index.
TEST_F(CliSortTest, CollectionsSharingAFirstNameKeepTheirOwnSettings) {
    const QString y2023 = dir.filePath(QStringLiteral("stamps.2023.DBF"));
    const QString y2024 = dir.filePath(QStringLiteral("stamps.2024.DBF"));
    collection::testing::makeStampCollection(y2023, {{"a", "Chile", 1900, ""}});
    collection::testing::makeStampCollection(y2024, {{"b", "Peru", 1910, ""}});
    ASSERT_EQ(run({"sort", y2023.toStdString(), "7"}).status, 0);
    ASSERT_EQ(run({"sort", y2024.toStdString(), "1"}).status, 0);
    EXPECT_EQ(
        collection::readCollection(dir.filePath(QStringLiteral("stamps.2023.INI"))).sortLevels,
        (collection::SortLevels{7, 0, 0, 0}));
    EXPECT_EQ(
        collection::readCollection(dir.filePath(QStringLiteral("stamps.2024.INI"))).sortLevels,
        (collection::SortLevels{1, 0, 0, 0}));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("stamps.INI"))));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("stamps.2023.MDX"))));
}

// `check` of another tool's table with its structural-index flag set leaves the flag alone.
TEST_F(CliSortTest, CheckOfAForeignTableWritesNothing) {
    const QString foreign = dir.filePath(QStringLiteral("FOX.DBF"));
    engine::Table::create(foreign.toStdString(), {{"NAME", engine::FieldType::Character, 10, 0}});
    QFile file(foreign);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(28);
    file.write("\x01", 1);
    file.close();
    const SortRun check = run({"check", foreign.toStdString()});
    EXPECT_EQ(check.status, 1);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().at(28), '\x01');
}

}  // namespace
