#include "collection/sort_order.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "collection/collection_settings.h"
#include "collection/other_process.h"
#include "collection/sort_expression.h"
#include "engine/table.h"

namespace {

using collection::SortLevels;
using collection::SortOrderResult;
using collection::testing::catalogsInOrder;
using collection::testing::makeStampCollection;
using collection::testing::OtherProcessHolding;

// Catalog, Country, Year, Date: orders differ by each field.
const std::vector<collection::testing::StampRow> kRows = {
    {"b", "Spain", 1950, "19970307"},
    {"A", "austria", 1890, "19961231"},
    {"c", "France", 1920, "19970225"},
};

class SortOrderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
        path = dir.filePath(QStringLiteral("STAMPS.DBF"));
        makeStampCollection(path, kRows);
        // The collection as the main window holds it: open shared, sorted by Country.
        collection::rebuildSortTagOnOpen(table, path, collection::BuildSortString(levels));
    }
    void TearDown() override { qunsetenv("XDG_CONFIG_HOME"); }

    SortOrderResult apply(const SortLevels& chosen) {
        collection::SortOrderHooks hooks;
        hooks.writeSettings = [this] {
            ++writes;
            writtenLevels = levels;
        };
        hooks.reapplyViewer = [this] {
            ++reapplied;
            EXPECT_TRUE(table.isOpen());
        };
        hooks.tell = [this](const QString& title, const QString& text) {
            EXPECT_TRUE(table.isOpen() && table.mode() == engine::OpenMode::Shared);
            told.push_back(title + QStringLiteral(": ") + text);
        };
        return collection::applySortOrder(table, path, levels, chosen, hooks);
    }

    std::string tagExpression() const {
        for (const engine::TagInfo& tag : table.tags())
            if (tag.name == "NEWINDEX") return tag.expression;
        return {};
    }

    QTemporaryDir dir;
    QString path;
    engine::Table table;
    SortLevels levels{3, 0, 0, 0};
    SortLevels writtenLevels{};
    int writes = 0;
    int reapplied = 0;
    QStringList told;
};

TEST_F(SortOrderTest, NewLevelsRebuildTheTagAndOrderTheTable) {
    const struct {
        const char* name;
        SortLevels levels;
        std::string expression;  // empty: record order
        std::vector<std::string> order;
    } cases[] = {
        {"none", {0, 0, 0, 0}, "", {"b", "A", "c"}},
        {"date", {14, 0, 0, 0}, "DTOS(Date)", {"A", "c", "b"}},
        {"text alone", {1, 0, 0, 0}, "Upper(Left(Catalog,80))", {"A", "b", "c"}},
        {"year", {7, 0, 0, 0}, "STR(Year,12,0)", {"A", "c", "b"}},
        {"same field twice",
         {3, 0, 3, 0},
         "Upper(Left(Country,40))+Upper(Left(Country,40))",
         {"A", "c", "b"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writes = reapplied = 0;
        EXPECT_EQ(apply(c.levels), SortOrderResult::Applied);
        EXPECT_EQ(levels, c.levels);
        EXPECT_EQ(writes, 1);
        EXPECT_EQ(writtenLevels, c.levels);
        EXPECT_EQ(reapplied, 1);
        EXPECT_TRUE(told.isEmpty());
        ASSERT_TRUE(table.isOpen());
        EXPECT_EQ(table.mode(), engine::OpenMode::Shared);
        EXPECT_EQ(table.selectedIndex(), c.expression.empty() ? "" : "NEWINDEX");
        if (!c.expression.empty()) {
            EXPECT_EQ(tagExpression(), c.expression);
        }
        EXPECT_EQ(catalogsInOrder(table), c.order);
    }
}

TEST_F(SortOrderTest, AllLevelsNoneOnOpeningCreatesNoTag) {
    table.close();
    const QString other = dir.filePath(QStringLiteral("PLAIN.DBF"));
    makeStampCollection(other, kRows);
    EXPECT_TRUE(collection::rebuildSortTagOnOpen(table, other, QString()));
    EXPECT_TRUE(table.tags().empty());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("PLAIN.MDX"))));
    EXPECT_EQ(catalogsInOrder(table), (std::vector<std::string>{"b", "A", "c"}));
}

TEST_F(SortOrderTest, OpeningRebuildsAMissingIndexUnlessTheFileIsInUse) {
    table.close();
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("STAMPS.MDX"))));
    collection::RemoveMDXByte(path);
    EXPECT_TRUE(collection::rebuildSortTagOnOpen(table, path, QStringLiteral("DTOS(Date)")));
    EXPECT_EQ(tagExpression(), "DTOS(Date)");
    EXPECT_EQ(catalogsInOrder(table), (std::vector<std::string>{"A", "c", "b"}));

    // In use elsewhere: the tag stays as it is, and is used.
    table.close();
    OtherProcessHolding other(path);
    ASSERT_TRUE(other.holds());
    EXPECT_FALSE(
        collection::rebuildSortTagOnOpen(table, path, QStringLiteral("Upper(Left(Catalog,80))")));
    EXPECT_EQ(tagExpression(), "DTOS(Date)");
    EXPECT_EQ(table.selectedIndex(), "NEWINDEX");
}

TEST_F(SortOrderTest, InUseElsewhereChangesNothing) {
    OtherProcessHolding other(path);
    ASSERT_TRUE(other.holds());
    EXPECT_EQ(apply({1, 0, 0, 0}), SortOrderResult::InUse);
    EXPECT_EQ(told, QStringList{QStringLiteral("Error: ") + collection::kSortInUse});
    EXPECT_EQ(levels, (SortLevels{3, 0, 0, 0}));
    EXPECT_EQ(writes, 0);
    EXPECT_EQ(reapplied, 1);
    ASSERT_TRUE(table.isOpen());
    EXPECT_EQ(table.mode(), engine::OpenMode::Shared);
    EXPECT_EQ(table.selectedIndex(), "NEWINDEX");
    EXPECT_EQ(tagExpression(), "Upper(Left(Country,80))");
    EXPECT_EQ(catalogsInOrder(table), (std::vector<std::string>{"A", "c", "b"}));

    // Once the other program lets go, the same choice goes through.
    other.letGo();
    told.clear();
    EXPECT_EQ(apply({1, 0, 0, 0}), SortOrderResult::Applied);
    EXPECT_EQ(catalogsInOrder(table), (std::vector<std::string>{"A", "b", "c"}));
}

// Files may not grow past `bytes` while the guard lives (the write fails with EFBIG).
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = ::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        ::signal(SIGXFSZ, previousHandler_);
    }

  private:
    rlimit previous_{};
    sighandler_t previousHandler_;
};

TEST_F(SortOrderTest, EngineFailureKeepsTheOldLevelsAndAUsableTable) {
    // Enough records that a tag on 80-character keys needs a larger index file than the
    // Country tag has; no file may grow, so the new index cannot be written beside the old one,
    // and the old index stays as it was: the table is still in Country order.
    table.close();
    std::vector<collection::testing::StampRow> many;
    for (int i = 0; i < 3000; ++i)
        many.push_back({"N" + std::to_string(2999 - i), "C" + std::to_string(i % 97), 1900, ""});
    makeStampCollection(path, many);
    collection::rebuildSortTagOnOpen(table, path, collection::BuildSortString(levels));
    const std::vector<std::string> byCountry = catalogsInOrder(table);
    const qint64 indexSize = QFileInfo(dir.filePath(QStringLiteral("STAMPS.MDX"))).size();
    SortOrderResult result;
    {
        FileSizeLimit limit(rlim_t(indexSize) + 512);
        result = apply({2, 1, 0, 0});
    }
    EXPECT_EQ(result, SortOrderResult::Failed);
    EXPECT_EQ(told, QStringList{QStringLiteral("Error: ") + collection::kSortFailed});
    EXPECT_EQ(levels, (SortLevels{3, 0, 0, 0}));
    EXPECT_EQ(writes, 0);
    EXPECT_EQ(reapplied, 1);
    ASSERT_TRUE(table.isOpen());
    EXPECT_EQ(table.mode(), engine::OpenMode::Shared);
    EXPECT_EQ(table.selectedIndex(), "NEWINDEX");
    EXPECT_EQ(table.recordCount(), 3000u);
    EXPECT_EQ(catalogsInOrder(table), byCountry);

    table.close();
    collection::rebuildSortTagOnOpen(table, path, collection::BuildSortString(levels));
    EXPECT_EQ(catalogsInOrder(table), byCountry);
}

TEST_F(SortOrderTest, WriteSortLevelsKeepsTheOtherSettings) {
    const QString ini = dir.filePath(QStringLiteral("STAMPS.INI"));
    collection::CollectionSettings settings;
    settings.field(3).label = QStringLiteral("Land");
    collection::writeCollection(ini, settings);
    collection::writeSortLevels(ini, {7, 14, 0, 0});
    const collection::CollectionSettings read = collection::readCollection(ini);
    EXPECT_EQ(read.sortLevels, (SortLevels{7, 14, 0, 0}));
    EXPECT_EQ(read.field(3).label, QStringLiteral("Land"));
}

}  // namespace
