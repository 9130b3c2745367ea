#include "collection/table_maintenance.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "collection/other_process.h"
#include "collection/sort_order.h"
#include "engine/table.h"

namespace {

using collection::MaintenanceResult;
using collection::testing::catalogsInOrder;
using collection::testing::OtherProcessHolding;

class TableMaintenanceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path = dir.filePath(QStringLiteral("STAMPS.DBF"));
        collection::testing::makeStampCollection(path, {{"b", "Spain", 1950, ""},
                                                        {"A", "austria", 1890, ""},
                                                        {"c", "France", 1920, ""},
                                                        {"d", "Denmark", 1930, ""}});
        collection::rebuildSortTagOnOpen(table, path, QStringLiteral("Upper(Left(Country,80))"));
        hooks.reapplyViewer = [this] { ++reapplied; };
        hooks.tell = [this](const QString& title, const QString& text) {
            EXPECT_TRUE(table.isOpen() && table.mode() == engine::OpenMode::Shared);
            told.push_back(title + QStringLiteral(": ") + text);
        };
    }

    void deleteCatalog(const std::string& catalog) {
        for (table.first(); !table.eof(); table.next()) {
            if (table.text(table.requireField("Catalog")) == catalog) {
                table.deleteRecord();
                return;
            }
        }
        FAIL() << catalog;
    }

    QTemporaryDir dir;
    QString path;
    engine::Table table;
    collection::ReopenHooks hooks;
    int reapplied = 0;
    QStringList told;
};

TEST_F(TableMaintenanceTest, PackRemovesDeletedRecordsAndKeepsOrderAndFilter) {
    deleteCatalog("c");
    // A running search: only records after 1900 (Year is the seventh field).
    table.setFilter([](const engine::RecordView& r) { return r.integer(6).value_or(0) > 1900; });
    table.refresh();
    EXPECT_EQ(collection::packCollection(table, path, hooks), MaintenanceResult::Done);
    EXPECT_TRUE(told.isEmpty());
    EXPECT_EQ(reapplied, 1);
    ASSERT_TRUE(table.isOpen());
    EXPECT_EQ(table.mode(), engine::OpenMode::Shared);
    EXPECT_EQ(table.physicalCount(), 3u);
    EXPECT_EQ(table.selectedIndex(), "NEWINDEX");
    EXPECT_EQ(catalogsInOrder(table), (std::vector<std::string>{"d", "b"}));

    // Nothing deleted: the count stays.
    table.clearFilter();
    EXPECT_EQ(collection::packCollection(table, path, hooks), MaintenanceResult::Done);
    EXPECT_EQ(table.physicalCount(), 3u);
    EXPECT_EQ(catalogsInOrder(table), (std::vector<std::string>{"A", "d", "b"}));
}

TEST_F(TableMaintenanceTest, PackTellsOfRecordsKeptPastAHeaderCountTooSmall) {
    // Another program left the header counting three of the four records.
    table.close();
    {
        QFile dbf(path);
        ASSERT_TRUE(dbf.open(QIODevice::ReadWrite));
        dbf.seek(4);
        const char three[4] = {3, 0, 0, 0};
        dbf.write(three, 4);
    }
    collection::reopenShared(table, path, "NEWINDEX");
    EXPECT_EQ(collection::packCollection(table, path, hooks), MaintenanceResult::Done);
    EXPECT_EQ(told, QStringList{QStringLiteral("Notice: Kept 1 complete records past the record "
                                               "count in the table's header.")});
    EXPECT_EQ(table.physicalCount(), 4u);
}

TEST_F(TableMaintenanceTest, RebuildKeepsTheSelectionAndRecordOrder) {
    EXPECT_EQ(collection::rebuildCollectionIndexes(table, path, hooks), MaintenanceResult::Done);
    EXPECT_EQ(table.selectedIndex(), "NEWINDEX");
    EXPECT_EQ(catalogsInOrder(table), (std::vector<std::string>{"A", "d", "c", "b"}));

    table.selectIndex({});
    EXPECT_EQ(collection::rebuildCollectionIndexes(table, path, hooks), MaintenanceResult::Done);
    EXPECT_EQ(table.selectedIndex(), "");
    EXPECT_EQ(catalogsInOrder(table), (std::vector<std::string>{"b", "A", "c", "d"}));
    EXPECT_TRUE(told.isEmpty());
}

TEST_F(TableMaintenanceTest, BothFailWhileAnotherProgramHoldsTheTable) {
    deleteCatalog("c");
    OtherProcessHolding other(path);
    ASSERT_TRUE(other.holds());
    const struct {
        const char* name;
        MaintenanceResult (*run)(engine::Table&, const QString&, const collection::ReopenHooks&);
        QString message;
    } cases[] = {
        {"pack", collection::packCollection, collection::kPackFailed},
        {"rebuild", collection::rebuildCollectionIndexes, collection::kReindexFailed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        told.clear();
        reapplied = 0;
        EXPECT_EQ(c.run(table, path, hooks), MaintenanceResult::Failed);
        EXPECT_EQ(told, QStringList{QStringLiteral("Error: ") + c.message});
        EXPECT_EQ(reapplied, 1);
        ASSERT_TRUE(table.isOpen());
        EXPECT_EQ(table.mode(), engine::OpenMode::Shared);
        EXPECT_EQ(table.physicalCount(), 4u);
        EXPECT_EQ(table.selectedIndex(), "NEWINDEX");
        EXPECT_EQ(catalogsInOrder(table), (std::vector<std::string>{"A", "d", "b"}));
    }
}

}  // namespace
