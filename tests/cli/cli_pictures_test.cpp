// tessellon-cli picture: add, list, remove and export a stamp's pictures, and pack carrying them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include "cli_run.h"
#include "engine/table.h"

namespace {

using cli::testing::run;

class CliPicturesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(run({"create", file("C.DBF")}).status, 0);
        engine::Table t;
        t.open(file("C.DBF"), engine::OpenMode::Shared);
        for (const char* country : {"Spain", "Chile", "Peru"}) {
            t.append();
            t.setText("Country", country);
            t.post();
        }
        for (const char* name : {"front.png", "back.png"}) {
            QImage image(20, 10, QImage::Format_RGB32);
            image.fill(name[0] == 'f' ? Qt::red : Qt::blue);
            image.save(dir.filePath(name));
        }
    }
    std::string file(const char* name) const { return dir.filePath(name).toStdString(); }

    QTemporaryDir dir;
};

TEST_F(CliPicturesTest, AddsListsExportsRemovesAndPackCarriesThem) {
    const auto added = run({"picture", file("C.DBF"), "2", "add", file("front.png"), file("back.png")});
    ASSERT_EQ(added.status, 0) << added.err;
    auto list = run({"picture", file("C.DBF"), "2", "list"});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out.rfind("1\tfront.png\t", 0), 0u) << list.out;
    EXPECT_NE(list.out.find("\n2\tback.png\t"), std::string::npos) << list.out;

    ASSERT_EQ(run({"picture", file("C.DBF"), "2", "export", file("out")}).status, 0);
    EXPECT_FALSE(QImage(dir.filePath("out/1-front.png")).isNull());
    EXPECT_FALSE(QImage(dir.filePath("out/2-back.png")).isNull());

    EXPECT_EQ(run({"picture", file("C.DBF"), "2", "remove", "3"}).status, 2);
    ASSERT_EQ(run({"picture", file("C.DBF"), "2", "remove", "1"}).status, 0);
    {
        engine::Table t;
        t.open(file("C.DBF"), engine::OpenMode::Shared);
        t.goToRecord(1);
        t.deleteRecord();
    }
    ASSERT_EQ(run({"pack", file("C.DBF")}).status, 0);
    list = run({"picture", file("C.DBF"), "1", "list"});
    EXPECT_EQ(list.out.rfind("1\tback.png\t", 0), 0u) << list.out;
    EXPECT_EQ(list.out.find("no longer matches"), std::string::npos);
}

TEST_F(CliPicturesTest, RefusesOtherFilesAndRecordsThatAreNotThere) {
    const auto notPicture = run({"picture", file("C.DBF"), "1", "add", file("C.DBF")});
    EXPECT_EQ(notPicture.status, 2);
    EXPECT_NE(notPicture.err.find("is not a JPEG, PNG, TIFF or WebP picture"), std::string::npos);
    const auto noRecord = run({"picture", file("C.DBF"), "9", "list"});
    EXPECT_EQ(noRecord.status, 2);
    EXPECT_NE(noRecord.err.find("records 1 to 3"), std::string::npos) << noRecord.err;
    EXPECT_EQ(run({"picture", file("C.DBF"), "1", "rotate"}).status, 2);
}

}  // namespace
