// A collection packed by another program (Python's dbf): the pictures whose record moved are
// found by their fingerprints, and each is relinked to the one record that matches.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "collection/collection_file.h"
#include "engine/table.h"
#include "pictures/picture_store.h"

namespace {

// A Python that has the dbf module: Debian's own (python3-dbf installs there) before whichever
// python3 comes first on PATH (a user's own build often lacks Debian's packages). Empty when none.
QString pythonWithDbf() {
    QStringList candidates{QStringLiteral("/usr/bin/python3")};
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (!onPath.isEmpty()) candidates.append(onPath);
    for (const QString& python : candidates)
        if (QProcess::execute(python, {QStringLiteral("-c"), QStringLiteral("import dbf")}) == 0)
            return python;
    return {};
}

TEST(OtherProgramPackTest, MovedPicturesAreFlaggedAndRelinkedToTheirOneMatch) {
    const QString python3 = pythonWithDbf();
    if (python3.isEmpty()) GTEST_SKIP() << "no python3 with the dbf module (python3-dbf)";
    QTemporaryDir dir;
    const QString table = dir.filePath("STAMPS.DBF");
    ASSERT_TRUE(collection::MakeNewDB(table, {}));
    {
        engine::Table t;
        t.open(table.toStdString(), engine::OpenMode::Exclusive);
        // Records 3 and 4 are the same stamp twice.
        const char* catalogues[] = {"1", "2", "3", "3"};
        const char* countries[] = {"Spain", "Chile", "Peru", "Peru"};
        const int years[] = {1900, 1901, 1902, 1902};
        for (int i = 0; i < 4; ++i) {
            t.append();
            t.setText("Catalog", catalogues[i]);
            t.setText("Country", countries[i]);
            t.setInteger(t.requireField("Year"), years[i]);
            t.post();
        }
    }
    pictures::PictureStore store(table);
    {
        engine::Table t;
        t.open(table.toStdString(), engine::OpenMode::Shared);
        for (std::uint32_t r = 2; r <= 4; ++r) {
            QImage image(10, 10, QImage::Format_RGB32);
            image.fill(QColor(int(r) * 40, 10, 10));
            const QString file = dir.filePath(QStringLiteral("p%1.png").arg(r));
            image.save(file);
            store.add(r, {file}, pictures::fingerprintOf(t.record(r)));
        }
        t.goToRecord(1);
        t.deleteRecord();
    }
    QProcess python;
    python.start(python3, {"-c",
                           "import sys, dbf\n"
                           "t = dbf.Table(sys.argv[1])\n"
                           "t.open(dbf.READ_WRITE)\n"
                           "t.pack()\n"
                           "t.close()\n",
                           table});
    ASSERT_TRUE(python.waitForFinished(30000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();

    engine::Table t;
    t.open(table.toStdString(), engine::OpenMode::Shared);
    ASSERT_EQ(t.physicalCount(), 3u);
    // Record 2's picture now sits on the Peru stamp; record 3's on its twin (not told apart);
    // record 4's is past the end, and two records match it.
    const auto moved = store.checkLinks(t);
    ASSERT_EQ(moved.size(), 2u);
    EXPECT_EQ(moved[0].picture.recno, 2u);
    EXPECT_EQ(moved[0].candidate, 1u);
    EXPECT_EQ(moved[1].picture.recno, 4u);
    EXPECT_EQ(moved[1].candidate, 0u);
    for (const pictures::MovedPicture& m : moved)
        if (m.candidate) store.relink(m.picture.recno, m.candidate, m.picture.fingerprint, m.picture.file);
    const auto left = store.checkLinks(t);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].picture.recno, 4u);
    EXPECT_EQ(store.count(1), 1);
    EXPECT_EQ(store.count(2), 0);
}

}  // namespace
