// tessellon-cli backup and restore: a copy the peers read, and copies killed at random instants
// that leave the destination either as it was or whole.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <random>
#include <sstream>
#include <thread>

#include "cli/cli_commands.h"
#include "collection/collection_file.h"
#include "engine/table.h"

namespace {

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int runCli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    return cli::runCli(args, out, err);
}

class CliSafekeepingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QDir(dir_.path()).mkpath("program");
        QDir(dir_.path()).mkpath("media");
    }
    QString path(const char* name) const { return dir_.path() + u'/' + QLatin1String(name); }
    static void makeTable(const QString& file, int records, const std::string& country) {
        ASSERT_TRUE(collection::MakeNewDB(file, {}));
        engine::Table t;
        t.open(file.toStdString(), engine::OpenMode::Exclusive);
        for (int i = 0; i < records; ++i) {
            t.append();
            t.setText("Catalog", "N" + std::to_string(i));
            t.setText("Country", country);
            t.post();
        }
    }
    QTemporaryDir dir_;
};

TEST_F(CliSafekeepingTest, BackupIsReadByPythonsDbfAndRestoreIndexesTheCopy) {
    makeTable(path("program/STAMPS.DBF"), 3, "Norway");
    ASSERT_EQ(
        runCli({"backup", path("program/STAMPS.DBF").toStdString(), path("media").toStdString()}),
        0);
    EXPECT_EQ(contents(path("media/STAMPS.DBF")), contents(path("program/STAMPS.DBF")));
    if (std::system("/usr/bin/python3 -c 'import dbf' 2>/dev/null") == 0) {
        const QString script = QStringLiteral(
            "import dbf,sys; t=dbf.Table(sys.argv[1]); t.open(); "
            "sys.exit(0 if len(t)==3 and t[2].country.strip()=='Norway' and "
            "t[1].catalog.strip()=='N1' else 1)");
        const QString command =
            QStringLiteral("/usr/bin/python3 -c \"%1\" '%2'").arg(script, path("media/STAMPS.DBF"));
        EXPECT_EQ(std::system(command.toLocal8Bit().constData()), 0);
    }
    // Backing up into the collection's own folder is refused.
    EXPECT_EQ(
        runCli({"backup", path("program/STAMPS.DBF").toStdString(), path("program").toStdString()}),
        2);
    QFile::remove(path("program/STAMPS.DBF"));
    QFile::remove(path("program/STAMPS.MDX"));
    ASSERT_EQ(
        runCli({"restore", path("media/STAMPS.DBF").toStdString(), path("program").toStdString()}),
        0);
    EXPECT_EQ(runCli({"check", path("program/STAMPS.DBF").toStdString()}), 0);
}

// A restore over an existing collection, killed at random instants: afterwards the collection is
// the old one or the new one, byte for byte, and it opens with all of its records.
TEST_F(CliSafekeepingTest, KilledRestoreLeavesTheOldCollectionOrTheNewOneWhole) {
    makeTable(path("program/STAMPS.DBF"), 2000, "Old");
    makeTable(path("media/STAMPS.DBF"), 30000, "New");
    const QByteArray before = contents(path("program/STAMPS.DBF"));
    const QByteArray after = contents(path("media/STAMPS.DBF"));
    const std::vector<std::string> args = {"restore", path("media/STAMPS.DBF").toStdString(),
                                           path("program").toStdString()};
    // How long one restore takes, to spread the kills over it.
    const auto start = std::chrono::steady_clock::now();
    {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) ::_exit(runCli(args));
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_EQ(WEXITSTATUS(status), 0);
    }
    const auto full = std::chrono::duration_cast<std::chrono::microseconds>(
                          std::chrono::steady_clock::now() - start)
                          .count();
    std::mt19937 random(20261207);
    int sawOld = 0, sawNew = 0;
    for (int round = 0; round < 30; ++round) {
        SCOPED_TRACE(round);
        // Start every round from the old collection.
        QFile::remove(path("program/STAMPS.DBF"));
        QFile::remove(path("program/STAMPS.MDX"));
        {
            QFile f(path("program/STAMPS.DBF"));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(before);
        }
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) ::_exit(runCli(args));
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution<long>(0, full)(random)));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        // The restored table is indexed on its sort order: only its production-index flag may
        // differ from the backup's.
        QByteArray now = contents(path("program/STAMPS.DBF"));
        if (now.size() > 28 && now != before) now[28] = after[28];
        ASSERT_TRUE(now == before || now == after) << "a mix of the two collections";
        (now == before ? sawOld : sawNew)++;
        engine::Table t;
        t.open(path("program/STAMPS.DBF").toStdString(), engine::OpenMode::Shared);
        EXPECT_EQ(t.recordCount(), now == before ? 2000u : 30000u);
    }
    EXPECT_GT(sawOld + sawNew, 0);
    std::cout << "kills leaving the old collection: " << sawOld << ", the new one: " << sawNew
              << "\n";
}

}  // namespace
