#include "collection/collection_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

#include "collection/stamp_schema.h"
#include "collection/stamp_table_defs.h"
#include "engine/error.h"
#include "engine/table.h"

namespace {

using engine::FieldDef;
using engine::FieldType;

struct Told {
    std::vector<std::pair<QString, QString>> messages;
    collection::MessageSink sink() {
        return [this](const QString& t, const QString& m) { messages.emplace_back(t, m); };
    }
};

const QString kNotCreatedWith = QStringLiteral(
    "This DBase file was not created with Tessellon.  It cannot be opened.  You may, however, "
    "import data from this file using the import function.");

class CollectionFileTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    static std::vector<FieldDef> schemaDefs() { return collection::stampTableFieldDefs(); }
    static unsigned char headerByte(const QString& file, int offset) {
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        QByteArray b = f.read(offset + 1);
        return static_cast<unsigned char>(b.at(offset));
    }
};

TEST_F(CollectionFileTest, NewCollectionHasTheSchemaAndPassesTheCheck) {
    Told told;
    ASSERT_TRUE(collection::MakeNewDB(path("MASTER.DBF"), told.sink()));
    engine::Table t;
    t.open(path("MASTER.DBF").toStdString(), engine::OpenMode::Shared);
    ASSERT_EQ(t.fieldCount(), 25);
    EXPECT_EQ(t.fields()[0].name, "CATALOG");
    EXPECT_EQ(t.fields()[4].typeLetter, 'N');
    EXPECT_EQ(t.fields()[4].length, 20);
    EXPECT_EQ(t.fields()[4].decimals, 4);
    EXPECT_EQ(t.fields()[6].length, 11);
    EXPECT_EQ(t.fields()[13].typeLetter, 'D');
    EXPECT_EQ(t.fields()[24].length, 3);
    EXPECT_EQ(t.recordCount(), 0u);
    t.close();
    EXPECT_TRUE(collection::CheckDBaseFormat(path("MASTER.DBF"), told.sink()));
    EXPECT_TRUE(told.messages.empty());
}

TEST_F(CollectionFileTest, ForeignLayoutsAreRefusedWithTheMessage) {
    auto reordered = schemaDefs();
    std::swap(reordered[0], reordered[1]);
    auto extra = schemaDefs();
    extra.push_back({"EXTRA", FieldType::Character, 5, 0});
    auto fewer = schemaDefs();
    fewer.pop_back();
    for (const auto& defs : {reordered, extra, fewer}) {
        engine::Table::create(path("OTHER.DBF").toStdString(), defs);
        Told told;
        EXPECT_FALSE(collection::CheckDBaseFormat(path("OTHER.DBF"), told.sink()));
        ASSERT_EQ(told.messages.size(), 1u);
        EXPECT_EQ(told.messages[0].first, "Error");
        EXPECT_EQ(told.messages[0].second, kNotCreatedWith);
    }
}

TEST_F(CollectionFileTest, OtherTypesWidthsAndLetterCaseAreAccepted) {
    auto defs = schemaDefs();
    for (auto& d : defs) {
        d.type = FieldType::Character;
        d.length = 30;
        d.decimals = 0;
        std::transform(d.name.begin(), d.name.end(), d.name.begin(), ::tolower);
    }
    engine::Table::create(path("LOOSE.DBF").toStdString(), defs);
    Told told;
    EXPECT_TRUE(collection::CheckDBaseFormat(path("LOOSE.DBF"), told.sink()));
}

TEST_F(CollectionFileTest, NotADbaseFileRaisesTheEngineError) {
    QFile f(path("JUNK.DBF"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("this is not a table");
    f.close();
    Told told;
    EXPECT_THROW(collection::CheckDBaseFormat(path("JUNK.DBF"), told.sink()), engine::EngineError);
}

TEST_F(CollectionFileTest, DeletedIndexClearsTheFlagAndTheCollectionOpens) {
    Told told;
    ASSERT_TRUE(collection::MakeNewDB(path("MINE.DBF"), told.sink()));
    {
        engine::Table t;
        t.open(path("MINE.DBF").toStdString(), engine::OpenMode::Exclusive);
        t.addIndexTag("NewIndex", "Upper(Left(Country,80))");
    }
    ASSERT_EQ(headerByte(path("MINE.DBF"), 28), 1);
    ASSERT_TRUE(QFile::remove(path("MINE.MDX")));
    EXPECT_TRUE(collection::CheckDBaseFormat(path("MINE.DBF"), told.sink()));
    EXPECT_EQ(headerByte(path("MINE.DBF"), 28), 0);
}

TEST_F(CollectionFileTest, MakeNewDBReplacesAFileNobodyHolds) {
    Told told;
    ASSERT_TRUE(collection::MakeNewDB(path("MASTER.DBF"), told.sink()));
    {
        engine::Table t;
        t.open(path("MASTER.DBF").toStdString(), engine::OpenMode::Shared);
        t.append();
        t.setText(2, "France");
        t.post();
    }
    ASSERT_TRUE(collection::MakeNewDB(path("MASTER.DBF"), told.sink()));
    engine::Table t;
    t.open(path("MASTER.DBF").toStdString(), engine::OpenMode::Shared);
    EXPECT_EQ(t.physicalCount(), 0u);
    EXPECT_TRUE(told.messages.empty());
}

TEST_F(CollectionFileTest, MakeNewDBOverAFileInUseIsRefusedAndLeavesIt) {
    Told told;
    ASSERT_TRUE(collection::MakeNewDB(path("BUSY.DBF"), told.sink()));
    engine::Table holder;
    holder.open(path("BUSY.DBF").toStdString(), engine::OpenMode::Shared);
    holder.append();
    holder.setText(0, "A1");
    holder.post();
    EXPECT_TRUE(collection::DBaseInUse(path("BUSY.DBF")));
    EXPECT_FALSE(collection::MakeNewDB(path("BUSY.DBF"), told.sink()));
    ASSERT_EQ(told.messages.size(), 1u);
    EXPECT_EQ(told.messages[0].first, "Error");
    EXPECT_EQ(told.messages[0].second,
              "The table \"" + path("BUSY.DBF") +
                  "\" is currently in use by another program.  New table creation will be "
                  "aborted.");
    EXPECT_EQ(holder.physicalCount(), 1u);
    holder.close();
    EXPECT_FALSE(collection::DBaseInUse(path("BUSY.DBF")));
}

TEST_F(CollectionFileTest, RemoveMDXByteIgnoresAMissingFile) {
    collection::RemoveMDXByte(path("NONE.DBF"));
    EXPECT_FALSE(QFile::exists(path("NONE.DBF")));
}

}  // namespace
