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
#include "engine/table_probe.h"

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
    EXPECT_TRUE(collection::CheckDBaseFormat(path("MINE.DBF"), told.sink()));
    EXPECT_EQ(headerByte(path("MINE.DBF"), 28), 1);  // cleared only once the index is gone
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

QByteArray fileBytes(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void putBytes(const QString& file, const QByteArray& bytes) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Looking at a file that is no collection writes nothing into it: not the validation, not the
// in-use test. A text file named .DBF and another tool's table whose structural-index flag is set
// without an .MDX beside it keep every byte.
TEST_F(CollectionFileTest, ValidationWritesNothingIntoAFileThatIsNoCollection) {
    putBytes(path("notes.DBF"), QByteArray("Stamps to buy at the fair: Penny Black, Inverted Jenny "
                                           "and anything from Tuvalu.\n"));
    engine::Table::create(path("FOXPRO.DBF").toStdString(),
                          {{"NAME", FieldType::Character, 10, 0}});
    {
        QFile f(path("FOXPRO.DBF"));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(28);
        f.write("\x01", 1);  // its .CDX, say: not ours to clear
    }
    for (const char* name : {"notes.DBF", "FOXPRO.DBF"}) {
        const QByteArray before = fileBytes(path(name));
        Told told;
        try {
            EXPECT_FALSE(collection::CheckDBaseFormat(path(name), told.sink())) << name;
        } catch (const engine::EngineError&) {
        }
        EXPECT_FALSE(collection::DBaseInUse(path(name))) << name;
        EXPECT_EQ(fileBytes(path(name)), before) << name;
    }
}

// In use means another open holds the lock, nothing else: an empty or damaged file is not in use
// and New replaces it; a table held exclusively is reported as in use, not as a foreign file.
TEST_F(CollectionFileTest, OnlyAHeldTableIsInUse) {
    putBytes(path("EMPTY.DBF"), QByteArray());
    putBytes(path("DAMAGED.DBF"), QByteArray("\x03\x7e\x01\x01garbage", 11));
    for (const char* name : {"EMPTY.DBF", "DAMAGED.DBF"}) {
        EXPECT_FALSE(collection::DBaseInUse(path(name))) << name;
        Told told;
        ASSERT_TRUE(collection::MakeNewDB(path(name), told.sink())) << name;
        EXPECT_TRUE(told.messages.empty()) << name;
        EXPECT_TRUE(collection::CheckDBaseFormat(path(name), told.sink())) << name;
    }
    engine::Table holder;
    holder.open(path("EMPTY.DBF").toStdString(), engine::OpenMode::Exclusive);
    Told told;
    EXPECT_THROW(collection::CheckDBaseFormat(path("EMPTY.DBF"), told.sink()),
                 engine::TableInUseError);
    EXPECT_TRUE(told.messages.empty());
}

// A collection that cannot be written: its table, its index or its folder marked read-only.
TEST_F(CollectionFileTest, ReadOnlyCollections) {
    Told told;
    ASSERT_TRUE(collection::MakeNewDB(path("RW.DBF"), told.sink()));
    EXPECT_FALSE(collection::collectionReadOnly(path("RW.DBF")));
    {
        engine::Table t;
        t.open(path("RW.DBF").toStdString(), engine::OpenMode::Exclusive);
        t.addIndexTag("NewIndex", "Catalog");
    }
    const auto readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const auto writable = readOnly | QFile::WriteOwner;
    for (const QString& file : {path("RW.DBF"), path("RW.MDX"), dir.path()}) {
        const QFileDevice::Permissions before = QFile::permissions(file);
        ASSERT_TRUE(QFile::setPermissions(file, readOnly | QFile::ExeOwner));
        EXPECT_TRUE(collection::collectionReadOnly(path("RW.DBF"))) << file.toStdString();
        ASSERT_TRUE(QFile::setPermissions(file, before | writable));
    }
    EXPECT_FALSE(collection::collectionReadOnly(path("RW.DBF")));
}

TEST_F(CollectionFileTest, RemoveMDXByteIgnoresAMissingFile) {
    collection::RemoveMDXByte(path("NONE.DBF"));
    EXPECT_FALSE(QFile::exists(path("NONE.DBF")));
}

}  // namespace
