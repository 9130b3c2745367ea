// Pictures through exports and imports: a dBase export carries them to the new records'
// numbers, a text export's picture column and folder come back through a text import, and
// neither a failed export nor an ordinary text file is touched by them.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "../pictures/picture_files.h"
#include "collection/search_filter.h"
#include "engine/table.h"
#include "interchange/delimited_line_reader.h"
#include "interchange/export_run.h"
#include "interchange/import_assignment.h"
#include "interchange/import_run.h"
#include "interchange/store_pictures.h"
#include "interchange_test_support.h"
#include "pictures/picture_store.h"

namespace interchange::testing {
namespace {

QByteArray hashOf(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

class PictureTransferTest : public ::testing::Test {
  protected:
    void SetUp() override {
        makeCollection(collection_);
        table_.open(collection_, engine::OpenMode::Shared);
        // Five stamps; 2 and 4 have pictures (4 has two, in order).
        const char* countries[] = {"Spain", "Chile", "Peru", "Chile", "Peru"};
        for (int i = 0; i < 5; ++i) {
            table_.append();
            table_.setText(table_.requireField("Catalog"), std::to_string(i + 1));
            table_.setText(table_.requireField("Country"), countries[i]);
            table_.post();
        }
        const QDir dir(QString::fromStdString(scratch_.file("")));
        red_ = pictures::testing::writePicture(dir, "red.png", Qt::red);
        green_ = pictures::testing::writePicture(dir, "green.jpg", Qt::green);
        blue_ = pictures::testing::writePicture(dir, "blue.png", Qt::blue);
        store_.add(2, {red_}, pictures::fingerprintOf(table_.record(2)));
        store_.add(4, {green_, blue_}, pictures::fingerprintOf(table_.record(4)));
    }

    ExportRequest allFields() {
        ExportRequest request;
        for (int f = 1; f <= 25; ++f) request.fields.push_back(f);
        request.dateFormat = {1, true};
        return request;
    }
    // Only the Chilean stamps, as a search result shows them.
    void showChile() {
        table_.setFilter([this](const engine::RecordView& r) {
            return r.text(table_.fieldIndex("Country")) == "Chile";
        });
    }

    Scratch scratch_;
    std::string collection_ = scratch_.file("STAMPS.DBF");
    engine::Table table_;
    pictures::PictureStore store_{QString::fromStdString(collection_)};
    QString red_, green_, blue_;
};

TEST_F(PictureTransferTest, PicturesFollowTheirRecordsThroughADbaseExportOfASearchResult) {
    showChile();
    const std::string target = scratch_.file("out/CHILE.DBF");
    QDir().mkpath(QString::fromStdString(scratch_.file("out")));
    StoreExportPictures pictures(QString::fromStdString(collection_),
                                 QString::fromStdString(target), ExportKind::Dbase);
    ExportRequest request = allFields();
    request.pictures = &pictures;
    ASSERT_EQ(exportDbf(table_, target, request).error, "");

    // Record 2 is record 1 there, record 4 record 2; fingerprints are the new records'.
    engine::Table out;
    out.open(target, engine::OpenMode::Shared);
    pictures::PictureStore there(QString::fromStdString(target));
    ASSERT_EQ(there.count(1), 1);
    ASSERT_EQ(there.count(2), 2);
    EXPECT_EQ(hashOf(there.pictures(1)[0].path), hashOf(red_));
    EXPECT_EQ(hashOf(there.pictures(2)[0].path), hashOf(green_));
    EXPECT_EQ(hashOf(there.pictures(2)[1].path), hashOf(blue_));
    EXPECT_EQ(there.pictures(2)[0].originalName, "green.jpg");
    EXPECT_TRUE(there.checkLinks(out).empty());
    // No staging folder is left beside it.
    EXPECT_EQ(QDir(QString::fromStdString(scratch_.file("out")))
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                  .size(),
              2);  // CHILE.DBF and CHILE-pictures
}

TEST_F(PictureTransferTest, AnExistingTargetsStoreIsReplacedOnlyWithItsTable) {
    const std::string target = scratch_.file("OLD.DBF");
    const QString targetPath = QString::fromStdString(target);
    {
        StoreExportPictures pictures(QString::fromStdString(collection_), targetPath,
                                     ExportKind::Dbase);
        ExportRequest request = allFields();
        request.pictures = &pictures;
        ASSERT_EQ(exportDbf(table_, target, request).error, "");
    }
    const std::string before = readBytes(target);
    // A run that fails (the new table's picture folder cannot be put in place) leaves the old
    // table and its store.
    const QString folder = pictures::storeFolder(targetPath);
    QFile::rename(folder, folder.chopped(1) + "-aside");
    scratch_.write("OLD-pictures", "in the way");
    {
        StoreExportPictures pictures(QString::fromStdString(collection_), targetPath,
                                     ExportKind::Dbase);
        ExportRequest request = allFields();
        request.fields = {1, 3};
        request.pictures = &pictures;
        EXPECT_NE(exportDbf(table_, target, request).error.find("is in the way"),
                  std::string::npos);
    }
    EXPECT_EQ(readBytes(target), before);
    QFile::remove(folder.chopped(1));
    QFile::rename(folder.chopped(1) + "-aside", folder.chopped(1));
    EXPECT_EQ(pictures::PictureStore(targetPath).count(4), 2);
    // A picture file gone from the collection's folder is left out and named; the rest go.
    const QString gone = store_.pictures(4)[1].path;
    QFile::remove(gone);
    {
        StoreExportPictures pictures(QString::fromStdString(collection_), targetPath,
                                     ExportKind::Dbase);
        ExportRequest request = allFields();
        request.pictures = &pictures;
        const ExportResult r = exportDbf(table_, target, request);
        ASSERT_EQ(r.error, "");
        EXPECT_EQ(exportNotes(r),
                  "1 picture file was missing from the collection's picture "
                  "folder and was left out: \"" +
                      gone.toStdString() + "\".");
    }
    EXPECT_EQ(pictures::PictureStore(targetPath).count(4), 1);
    // A table that replaces it without pictures takes the old store away with the old table.
    showChile();
    store_.removeAll(2);
    store_.removeAll(4);
    {
        StoreExportPictures pictures(QString::fromStdString(collection_), targetPath,
                                     ExportKind::Dbase);
        ExportRequest request = allFields();
        request.pictures = &pictures;
        ASSERT_EQ(exportDbf(table_, target, request).error, "");
    }
    EXPECT_TRUE(pictures::PictureStore(targetPath).empty());
    EXPECT_FALSE(QFileInfo::exists(pictures::storeFolder(targetPath)));
}

TEST_F(PictureTransferTest, ATextExportsPictureColumnComesBackThroughATextImport) {
    const std::string text = scratch_.file("export/list.txt");
    QDir().mkpath(QString::fromStdString(scratch_.file("export")));
    {
        StoreExportPictures pictures(QString::fromStdString(collection_),
                                     QString::fromStdString(text), ExportKind::Text);
        ExportRequest request;
        request.fields = {1, 3};
        request.titles = {"Catalog", "Country"};
        request.dateFormat = {1, true};
        request.pictures = &pictures;
        ASSERT_EQ(exportText(table_, text, request).error, "");
    }
    const std::string written = readBytes(text);
    const QString green = QFileInfo(store_.pictures(4)[0].path).fileName();
    const QString blue = QFileInfo(store_.pictures(4)[1].path).fileName();
    EXPECT_NE(written.find("\"Catalog\",\"Country\",\"Pictures\"\r\n"), std::string::npos);
    EXPECT_NE(written.find(
                  ("\"4\",\"Chile\",\"list-pictures/" + green + ";list-pictures/" + blue + "\"\r\n")
                      .toStdString()),
              std::string::npos)
        << written;
    EXPECT_NE(written.find("\"1\",\"Spain\",\"\"\r\n"), std::string::npos) << written;
    EXPECT_EQ(QDir(QString::fromStdString(scratch_.file("export/list-pictures")))
                  .entryList(QDir::Files)
                  .size(),
              3);

    // Into a new collection (from the file's own folder, wherever that is): every picture back,
    // in order, none in a field; a name whose file is gone is counted and named.
    QFile::rename(QString::fromStdString(scratch_.file("export")),
                  QString::fromStdString(scratch_.file("moved")));
    const std::string moved = scratch_.file("moved/list.txt");
    QFile::remove(QString::fromStdString(scratch_.file("moved/list-pictures/")) + blue);
    const std::string other = scratch_.file("OTHER.DBF");
    makeCollection(other);
    engine::Table into;
    into.open(other, engine::OpenMode::Shared);
    const FirstLine line = readFirstLine(moved);
    ASSERT_EQ(line.names.size(), 3u);
    const FieldAssignment assignment = assignmentByName(line.names, {});
    EXPECT_EQ(assignment[2], kPictureColumn);
    StoreImportPictures pictures(QString::fromStdString(other), QString::fromStdString(moved));
    ImportOptions options;
    options.dateFormat = {1, true};
    options.pictures = &pictures;
    const ImportResult r = importText(into, moved, 3, true, assignment, options);
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.added, 5u);
    EXPECT_EQ(r.pictures.added, 2u);
    EXPECT_EQ(r.pictures.missing, 1u);
    EXPECT_EQ(importNotes(r),
              "2 pictures were added.  1 picture could not be found or is not a "
              "picture, and was left out: \"list-pictures/" +
                  blue.toStdString() + "\".");
    pictures::PictureStore back(QString::fromStdString(other));
    ASSERT_EQ(back.count(2), 1);
    ASSERT_EQ(back.count(4), 1);
    EXPECT_EQ(hashOf(back.pictures(2)[0].path), hashOf(red_));
    EXPECT_EQ(hashOf(back.pictures(4)[0].path), hashOf(green_));
    EXPECT_TRUE(back.checkLinks(into).empty());
    for (const std::string& row : rows(into)) EXPECT_EQ(row.find("pictures/"), std::string::npos);
}

TEST_F(PictureTransferTest, AFailedTextExportTakesItsPictureCopiesAway) {
    const std::string text = scratch_.file("list.txt");
    const QString folder = QString::fromStdString(scratch_.file("list-pictures"));
    // A folder where the second stamp's first picture must go: met after a copy was made.
    const QString blocked = folder + "/" + QFileInfo(store_.pictures(4)[0].path).fileName();
    QDir().mkpath(blocked);
    {
        StoreExportPictures pictures(QString::fromStdString(collection_),
                                     QString::fromStdString(text), ExportKind::Text);
        ExportRequest request;
        request.fields = {1};
        request.dateFormat = {1, true};
        request.pictures = &pictures;
        EXPECT_NE(exportText(table_, text, request).error, "");
    }
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(text)));
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{QFileInfo(blocked).fileName()});
}

TEST(PictureColumnTest, OnlyAColumnNamedPicturesStartsInThePictureRow) {
    // A text export of three fields and its pictures: the column trades places into row 26.
    std::vector<ImportRow> rows = defaultTextImportRows({"Catalog", "Country", " pictures "});
    ASSERT_EQ(rows.size(), 26u);
    EXPECT_EQ(rows[2].importField, -1);
    EXPECT_EQ(rows[25].importField, 2);
    EXPECT_TRUE(rows[25].use);
    EXPECT_EQ(assignmentFromRows(rows, 3, true), (FieldAssignment{1, 2, kPictureColumn}));
    // A file without a title line: the column that lists pictures.
    rows = defaultTextImportRows({"12", "a/b.JPG; c d.png", "Chile"});
    EXPECT_EQ(rows[25].importField, 1);
    // An ordinary file keeps its 25 rows.
    EXPECT_EQ(defaultTextImportRows({"Nr", "Land", "photo.jpg is here"}).size(), 25u);
    // Another file's 26th column stays out of the pictures, as it stayed out of every field.
    std::vector<std::string> wide(30, "x");
    rows = defaultTextImportRows(wide);
    EXPECT_EQ(rows[25].importField, 25);
    EXPECT_FALSE(rows[25].use);
    const FieldAssignment assignment = assignmentFromRows(rows, 30, true);
    EXPECT_EQ(std::count(assignment.begin(), assignment.end(), kPictureColumn), 0);
    // The dBase window has no picture row.
    rows[25].use = true;
    EXPECT_EQ(assignmentFromRows(rows, 30, false)[25], 0);
}

TEST(PictureColumnTest, AFolderNamedLikeACollectionsStoreIsNotTaken) {
    Scratch scratch;
    const QString dir = QString::fromStdString(scratch.file(""));
    EXPECT_EQ(textExportPictureFolder(dir + "a;b.txt"), dir + "a_b-pictures");
    makeCollection(scratch.file("stamps.DBF"));
    EXPECT_EQ(textExportPictureFolder(dir + "stamps.txt"), dir + "stamps-text-pictures");
}

}  // namespace
}  // namespace interchange::testing
