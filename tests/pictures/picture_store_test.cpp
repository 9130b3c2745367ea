#include "pictures/picture_store.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include "collection/collection_file.h"
#include "collection/table_maintenance.h"
#include "engine/table.h"
#include "picture_files.h"

namespace {

using pictures::Picture;
using pictures::PictureError;
using pictures::PictureStore;
using pictures::testing::writePicture;

QStringList namesOf(const std::vector<Picture>& list) {
    QStringList out;
    for (const Picture& p : list) out << p.originalName;
    return out;
}

class PictureStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        table = dir.filePath(QStringLiteral("stamps.DBF"));
        red = writePicture(dir.path(), QStringLiteral("red.jpg"), Qt::red);
        green = writePicture(dir.path(), QStringLiteral("green.png"), Qt::green);
        blue = writePicture(dir.path(), QStringLiteral("blue.tif"), Qt::blue);
    }
    int storedFiles() const {
        return QDir(pictures::storeFolder(table))
            .entryList({QStringLiteral("*.jpg"), QStringLiteral("*.png"), QStringLiteral("*.tif")},
                       QDir::Files)
            .size();
    }

    QTemporaryDir dir;
    QString table, red, green, blue;
    pictures::Fingerprint print =
        pictures::fingerprintOf("SG1", "Great Britain", "1840", "Penny Black");
};

TEST_F(PictureStoreTest, StoreFolderIsNamedAfterTheTable) {
    EXPECT_EQ(pictures::storeFolderName(QStringLiteral("/x/stamps.2024.DBF")),
              QStringLiteral("stamps.2024-pictures"));
    EXPECT_EQ(pictures::storeFolder(table), dir.path() + QStringLiteral("/stamps-pictures/"));
    PictureStore store(table);
    EXPECT_TRUE(store.empty());
    EXPECT_TRUE(store.pictures(1).empty());
    EXPECT_FALSE(QFileInfo::exists(store.folder()));  // nothing made by reading
}

TEST_F(PictureStoreTest, AddsCopiesInOrderAndStoresTheSameContentOnce) {
    PictureStore store(table);
    const auto added = store.add(3, {red, green, blue}, print);
    ASSERT_EQ(added.size(), 3u);
    EXPECT_EQ(namesOf(store.pictures(3)), (QStringList{"red.jpg", "green.png", "blue.tif"}));
    EXPECT_EQ(added[2].position, 2);
    for (const Picture& p : store.pictures(3)) {
        EXPECT_TRUE(p.path.startsWith(store.folder()));
        EXPECT_TRUE(QFileInfo::exists(p.path));
        EXPECT_EQ(p.fingerprint, print);
    }
    // A copy, not a link: the original may go.
    QFile::remove(red);
    EXPECT_FALSE(QImage(store.pictures(3)[0].path).isNull());

    // The same file again, on the same record and on another: stored once, linked once a record.
    QFile::copy(store.pictures(3)[1].path, dir.filePath("copy of green.png"));
    EXPECT_TRUE(store.add(3, {dir.filePath("copy of green.png")}, print).empty());
    EXPECT_EQ(store.add(7, {dir.filePath("copy of green.png")}, print).size(), 1u);
    EXPECT_EQ(store.count(3), 3);
    EXPECT_EQ(storedFiles(), 3);
    EXPECT_EQ(store.records(), (std::vector<std::uint32_t>{3, 7}));

    // Another object (another window or process) sees the changes.
    PictureStore other(table);
    EXPECT_EQ(namesOf(other.pictures(7)), QStringList{"copy of green.png"});
}

TEST_F(PictureStoreTest, RefusesWhatIsNoPictureAndAddsNothingOfTheBatch) {
    PictureStore store(table);
    QFile text(dir.filePath("notes.jpg"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture at all");
    text.close();
    try {
        store.add(1, {red, text.fileName()}, print);
        FAIL() << "accepted a text file";
    } catch (const PictureError& e) {
        EXPECT_TRUE(e.message().contains("notes.jpg")) << e.message().toStdString();
    }
    EXPECT_THROW(store.add(1, {dir.filePath("missing.png")}, print), PictureError);
    EXPECT_TRUE(store.empty());
}

TEST_F(PictureStoreTest, RemovesAndReordersAndDeletesFilesNoLinkNames) {
    PictureStore store(table);
    store.add(1, {red, green, blue}, print);
    store.add(2, {green}, print);
    store.moveToFirst(1, 2);
    EXPECT_EQ(namesOf(store.pictures(1)), (QStringList{"blue.tif", "red.jpg", "green.png"}));
    const QString greenFile = store.pictures(1)[2].path;
    store.remove(1, 2);
    EXPECT_TRUE(QFileInfo::exists(greenFile));  // still linked to record 2
    store.remove(2, 0);
    EXPECT_FALSE(QFileInfo::exists(greenFile));
    store.remove(1, 5);  // out of range: nothing
    EXPECT_EQ(namesOf(store.pictures(1)), (QStringList{"blue.tif", "red.jpg"}));
    store.removeAll(1);
    EXPECT_TRUE(store.empty());
    EXPECT_EQ(storedFiles(), 0);
}

TEST_F(PictureStoreTest, PastedImagesAreStoredAsPng) {
    PictureStore store(table);
    QImage image(10, 10, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const Picture p = store.addImage(4, image, print);
    EXPECT_TRUE(p.file.endsWith(".png"));
    EXPECT_EQ(p.originalName, QStringLiteral("Pasted picture.png"));
    EXPECT_EQ(QImage(p.path).size(), QSize(10, 10));
    EXPECT_THROW(store.addImage(4, QImage(), print), PictureError);
}

TEST_F(PictureStoreTest, DamagedIndexLinesAreLeftOutAndTheRestReads) {
    PictureStore store(table);
    store.add(1, {red}, print);
    QFile index(store.indexPath());
    ASSERT_TRUE(index.open(QIODevice::Append));
    index.write(
        "garbage line\n0\tx.jpg\t00000000-00000000-00000000-00000000\tx\n"
        "5\t../../etc/passwd\t00000000-00000000-00000000-00000000\tx\n");
    index.close();
    PictureStore again(table);
    EXPECT_EQ(again.damagedLines(), 3);
    EXPECT_EQ(again.all().size(), 1u);
    again.add(2, {green}, print);  // the next write leaves them out
    EXPECT_EQ(again.damagedLines(), 0);
    EXPECT_EQ(again.all().size(), 2u);
}

TEST_F(PictureStoreTest, CarriesLinksAcrossAPackAndDropsThoseOfRemovedRecords) {
    PictureStore store(table);
    store.add(1, {red}, print);
    store.add(2, {green}, print);
    store.add(4, {blue, red}, print);
    store.add(6, {green}, print);  // past the numbers given: moved by the two removed
    // Records 2 and 3 were removed; 1 stays 1 and 4 becomes 2.
    store.carryAcrossPack({0, 1, 0, 0, 2});
    EXPECT_EQ(store.records(), (std::vector<std::uint32_t>{1, 2, 4}));
    EXPECT_EQ(namesOf(store.pictures(2)), (QStringList{"blue.tif", "red.jpg"}));
    EXPECT_EQ(namesOf(store.pictures(4)), QStringList{"green.png"});
}

// Links follow records changed here, from first state to last, unless they were already flagged
// as no longer matching (those wait for the user's relink).
TEST_F(PictureStoreTest, FollowsChangedRecordsButNotLinksAlreadyFlagged) {
    const auto other = pictures::fingerprintOf("X9", "Chile", "1999", "Condor");
    const auto renamed = pictures::fingerprintOf("SG1", "United Kingdom", "1840", "Penny Black");
    const auto recatalogued =
        pictures::fingerprintOf("SG-1", "United Kingdom", "1840", "Penny Black");
    PictureStore store(table);
    store.add(1, {red}, print);
    store.add(2, {green}, other);  // flagged: agrees with record 2's state in no part
    store.add(3, {blue}, print);   // not changed
    store.followChanges({{1, print, renamed}, {2, print, renamed}, {1, renamed, recatalogued}});
    EXPECT_EQ(store.pictures(1).at(0).fingerprint, recatalogued);
    EXPECT_EQ(store.pictures(2).at(0).fingerprint, other);
    EXPECT_EQ(store.pictures(3).at(0).fingerprint, print);
}

TEST_F(PictureStoreTest, CopiesRecordsPicturesIntoAnotherStore) {
    PictureStore store(table);
    store.add(1, {red, green}, print);
    store.add(2, {blue}, print);
    PictureStore target(dir.filePath("export/out.DBF"));
    store.copyRecordsTo(target, {{1, 5}, {3, 6}});
    EXPECT_EQ(namesOf(target.pictures(5)), (QStringList{"red.jpg", "green.png"}));
    EXPECT_EQ(target.records(), std::vector<std::uint32_t>{5});
    EXPECT_EQ(target.pictures(5)[0].fingerprint, print);

    pictures::copyStoreFolder(table, dir.filePath("backup/stamps-pictures"));
    PictureStore copy(dir.filePath("backup/stamps.DBF"));
    EXPECT_EQ(copy.all().size(), 3u);
    EXPECT_FALSE(QImage(copy.pictures(2)[0].path).isNull());
}

// A collection whose records' fingerprints can be compared with links.
class PictureLinksTest : public PictureStoreTest {
  protected:
    void SetUp() override {
        PictureStoreTest::SetUp();
        collection::MakeNewDB(table, {});
        engine::Table t;
        t.open(table.toStdString(), engine::OpenMode::Exclusive);
        const char* countries[] = {"Spain", "France", "Chile", "Peru"};
        int i = 0;
        for (const char* c : {"A1", "B2", "C3", "D4"}) {
            t.append();
            t.setText("Catalog", c);
            t.setText("Country", countries[i]);
            t.setInteger(t.requireField("Year"), 1900 + i++);
            t.post();
        }
    }
    pictures::Fingerprint printOf(std::uint32_t recno) {
        engine::Table t;
        t.open(table.toStdString(), engine::OpenMode::ReadOnly);
        return pictures::fingerprintOf(t.record(recno));
    }
};

TEST_F(PictureLinksTest, PackThroughTheCollectionCarriesPictures) {
    PictureStore store(table);
    store.add(2, {red}, printOf(2));
    store.add(3, {green}, printOf(3));
    store.add(4, {blue}, printOf(4));
    engine::Table t;
    t.open(table.toStdString(), engine::OpenMode::Shared);
    t.goToRecord(2);
    t.deleteRecord();
    t.goToRecord(1);
    t.deleteRecord();
    // A deleted record keeps its pictures until the pack.
    EXPECT_EQ(store.count(2), 1);
    ASSERT_EQ(collection::packCollection(
                  t, table, {}, [&](const auto& numbers) { store.carryAcrossPack(numbers); }),
              collection::MaintenanceResult::Done);
    EXPECT_EQ(store.records(), (std::vector<std::uint32_t>{1, 2}));
    EXPECT_EQ(namesOf(store.pictures(1)), QStringList{"green.png"});
    EXPECT_TRUE(store.checkLinks(t).empty());
}

TEST_F(PictureLinksTest, LinksThatNoLongerMatchAreFoundWithTheirOneMatch) {
    PictureStore store(table);
    store.add(1, {red}, printOf(1));
    store.add(2, {green}, printOf(4));  // as if records had moved
    store.add(3, {blue}, pictures::fingerprintOf("Z9", "Chile", "1999", ""));
    store.add(9, {blue}, printOf(3));  // past the end
    {
        // Correcting one field of a record does not flag its pictures.
        engine::Table t;
        t.open(table.toStdString(), engine::OpenMode::Shared);
        t.goToRecord(1);
        t.edit();
        t.setInteger(t.requireField("Year"), 1901);
        t.post();
    }
    engine::Table t;
    t.open(table.toStdString(), engine::OpenMode::ReadOnly);
    const auto moved = store.checkLinks(t);
    ASSERT_EQ(moved.size(), 3u);
    EXPECT_EQ(moved[0].picture.recno, 2u);
    EXPECT_EQ(moved[0].candidate, 4u);
    EXPECT_EQ(moved[1].picture.recno, 3u);
    EXPECT_EQ(moved[1].candidate, 0u);  // matches nothing
    EXPECT_EQ(moved[2].candidate, 3u);
    store.relink(2, 4, printOf(4));
    store.relink(9, 3, printOf(3));
    EXPECT_EQ(store.checkLinks(t).size(), 1u);
    EXPECT_EQ(namesOf(store.pictures(4)), QStringList{"green.png"});
}

}  // namespace

namespace {

TEST_F(PictureStoreTest, StoresOfOneCollectionShareWhatTheyReadAndSeeEachOthersChanges) {
    PictureStore pane(table);
    PictureStore column(table);
    EXPECT_EQ(pane.count(1), 0);
    column.add(1, {red, green}, print);
    EXPECT_EQ(pane.count(1), 2);
    pictures::forgetReadIndexes();
    EXPECT_EQ(namesOf(pane.pictures(1)), (QStringList{"red.jpg", "green.png"}));
    pane.moveToFirst(1, 1);
    EXPECT_EQ(namesOf(column.pictures(1)), (QStringList{"green.png", "red.jpg"}));
    PictureStore later(table);
    EXPECT_EQ(later.records(), std::vector<std::uint32_t>{1});
}

}  // namespace
