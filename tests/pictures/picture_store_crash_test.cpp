// The store's index under a writer killed at any instant, and under two writers at once.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <random>
#include <set>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "picture_files.h"
#include "pictures/picture_store.h"

namespace {

using pictures::PictureStore;

class PictureStoreCrashTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        table = dir.filePath(QStringLiteral("stamps.DBF"));
        for (int i = 0; i < 60; ++i)
            files << pictures::testing::writePicture(dir.path(), QStringLiteral("p%1.png").arg(i),
                                                     QColor::fromHsv(i * 6, 200, 200), 64, 48);
        // Everything the child uses is set up here first (image formats found, plugins loaded).
        PictureStore warm(table);
        warm.add(1000, {files[0]}, print);
    }

    // A child process adding file i to record i (from `first`), writing i to `fd` after each.
    pid_t startAdder(int first, int fd) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            PictureStore store(table);
            for (int i = first; i < files.size(); ++i) {
                store.add(static_cast<std::uint32_t>(i), {files[i]}, print);
                const unsigned char done = static_cast<unsigned char>(i);
                (void)!::write(fd, &done, 1);
            }
            ::_exit(0);
        }
        return pid;
    }

    QTemporaryDir dir;
    QString table;
    QStringList files;
    pictures::Fingerprint print = pictures::fingerprintOf("1", "Chile", "1900", "");
};

TEST_F(PictureStoreCrashTest, AKillDuringAddsKeepsEveryPictureAddedBefore) {
    std::mt19937 random(21);
    std::set<int> confirmed;
    int first = 1;
    for (int round = 0; round < 6 && first < files.size() - 5; ++round) {
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        const pid_t pid = startAdder(first, pipeFds[1]);
        ::close(pipeFds[1]);
        // Let it confirm a few adds, then kill it somewhere inside the next ones.
        unsigned char done = 0;
        for (int k = 0; k < 3; ++k)
            if (::read(pipeFds[0], &done, 1) == 1) confirmed.insert(done);
        ::usleep(std::uniform_int_distribution<int>(0, 3000)(random));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        while (::read(pipeFds[0], &done, 1) == 1) confirmed.insert(done);
        ::close(pipeFds[0]);

        PictureStore store(table);
        EXPECT_EQ(store.damagedLines(), 0);
        for (int i : confirmed) {
            const auto list = store.pictures(static_cast<std::uint32_t>(i));
            ASSERT_EQ(list.size(), 1u) << "record " << i << " round " << round;
            EXPECT_FALSE(QImage(list[0].path).isNull()) << list[0].path.toStdString();
        }
        for (const pictures::Picture& p : store.all())
            EXPECT_TRUE(QFileInfo::exists(p.path)) << p.path.toStdString();
        first = *confirmed.rbegin() + 2;
    }
    EXPECT_GE(confirmed.size(), 18u);
}

TEST_F(PictureStoreCrashTest, TwoWritersAtOnceBothKeepTheirPictures) {
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t a = startAdder(1, pipeFds[1]);
    const pid_t b = startAdder(31, pipeFds[1]);
    ::close(pipeFds[1]);
    int status = 0;
    ::waitpid(a, &status, 0);
    EXPECT_EQ(status, 0);
    ::waitpid(b, &status, 0);
    EXPECT_EQ(status, 0);
    ::close(pipeFds[0]);
    PictureStore store(table);
    EXPECT_EQ(store.records().size(), 60u);  // 1..59 and the first one at 1000
}

}  // namespace
