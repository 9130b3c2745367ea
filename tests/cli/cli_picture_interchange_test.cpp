// tessellon-cli import and export with pictures: a dBase export takes the exported stamps'
// pictures, --pictures adds a text export's picture column, a text import and a Tellico
// round trip bring them back; the quick program hands such runs to its GUI program.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "cli_run.h"
#include "engine/table.h"
#include "pictures/picture_store.h"

namespace {

using cli::testing::run;

QByteArray hashOf(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

class CliPictureInterchangeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
        ASSERT_EQ(run({"create", collection}).status, 0);
        QFile src(dir.filePath("in.txt"));
        ASSERT_TRUE(src.open(QIODevice::WriteOnly));
        src.write(
            "\"Country\",\"Alpha Catalog\"\r\n\"Spain\",\"S-1\"\r\n\"Chile\",\"C-1\"\r\n"
            "\"Chile\",\"C-2\"\r\n");
        src.close();
        ASSERT_EQ(run({"import", collection, file("in.txt"), "--text", "--skip-first"}).status, 0);
        for (int k = 0; k < 2; ++k) {
            QImage image(12, 9, QImage::Format_RGB32);
            image.fill(k ? Qt::blue : Qt::yellow);
            image.save(dir.filePath(QStringLiteral("p%1.png").arg(k)));
        }
        ASSERT_EQ(run({"picture", collection, "3", "add", file("p0.png"), file("p1.png")}).status,
                  0);
    }
    std::string file(const char* name) const { return dir.filePath(name).toStdString(); }
    // The hashes of record `recno`'s pictures in `table`'s store, in order.
    static std::vector<QByteArray> hashes(const std::string& table, std::uint32_t recno) {
        std::vector<QByteArray> out;
        for (const auto& p : pictures::PictureStore(QString::fromStdString(table)).pictures(recno))
            out.push_back(hashOf(p.path));
        return out;
    }

    QTemporaryDir dir;
    std::string collection = file("C.DBF");
};

TEST_F(CliPictureInterchangeTest, DbaseTextAndTellicoExportsCarryThePictures) {
    const std::vector<QByteArray> mine = hashes(collection, 3);
    ASSERT_EQ(mine.size(), 2u);
    // dBase, the Chilean stamps only: record 3 becomes record 2.
    cli::testing::CliRun r =
        run({"export", collection, file("CHILE.DBF"), "--dbf", "Country:Chile"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(hashes(file("CHILE.DBF"), 2), mine);
    EXPECT_TRUE(hashes(file("CHILE.DBF"), 1).empty());

    // Text with the picture column, back into a new collection.
    r = run({"export", collection, file("out.txt"), "--text", "--pictures"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(QDir(dir.filePath("out-pictures")).exists());
    ASSERT_EQ(run({"create", file("T.DBF")}).status, 0);
    r = run({"import", file("T.DBF"), file("out.txt"), "--text", "--skip-first"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("2 pictures were added."), std::string::npos) << r.out;
    EXPECT_EQ(hashes(file("T.DBF"), 3), mine);
    engine::Table t;
    t.open(file("T.DBF"), engine::OpenMode::Shared);
    EXPECT_EQ(t.fieldIndex("Pictures"), -1);
    // --pictures is for text files only.
    EXPECT_EQ(run({"export", collection, file("X.DBF"), "--dbf", "--pictures"}).status, 2);

    // Tellico and back.
    ASSERT_EQ(run({"export", collection, file("out.tc"), "--tellico"}).status, 0);
    ASSERT_EQ(run({"create", file("B.DBF")}).status, 0);
    r = run({"import", file("B.DBF"), file("out.tc"), "--tellico"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(hashes(file("B.DBF"), 3), mine);
}

// The companion as users start it has no image library: it hands the run to its GUI program,
// which prints what it did.
TEST_F(CliPictureInterchangeTest, TheQuickProgramHandsPictureRunsOver) {
    const QString cli = QStringLiteral(TESS_BINARY_DIR "/src/cli/tessellon-cli");
    if (!QFile::exists(cli)) GTEST_SKIP() << "no tessellon-cli";
    QProcess p;
    p.start(cli, {"export", QString::fromStdString(collection), dir.filePath("H.DBF"), "--dbf"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_EQ(p.readAllStandardOutput().toStdString(), "Exported 3 records.\n");
    EXPECT_EQ(hashes(file("H.DBF"), 3), hashes(collection, 3));
}

}  // namespace
