// The maintenance commands against another dBase program that holds a POSIX
// lock (Python's fcntl.lockf) on the collection or its index: each refuses
// with the in-use message and leaves both files as they were.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <sstream>

#include "cli/cli_commands.h"
#include "collection/other_process.h"

namespace {

// Holds lockf locks on the files named after the mode until stdin closes.
const char* const kHolder = R"PY(
import fcntl, sys
exclusive = sys.argv[1] == 'x'
held = []
for path in sys.argv[2:]:
    f = open(path, 'r+b' if exclusive else 'rb')
    fcntl.lockf(f, fcntl.LOCK_EX if exclusive else fcntl.LOCK_SH)
    held.append(f)
print('locked', flush=True)
sys.stdin.read()
)PY";

struct CliRun {
    int status;
    std::string out, err;
};

CliRun run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = cli::runCli(args, out, err);
    return {status, out.str(), err.str()};
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class CliPeerLockTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!QFile::exists(QStringLiteral("/usr/bin/python3"))) GTEST_SKIP() << "no python3";
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
        collection::testing::makeStampCollection(
            dbf(), {{"b", "Spain", 1950, ""}, {"a", "Chad", 1890, ""}});
        ASSERT_EQ(run({"index", dbf().toStdString(), "Upper(Catalog)"}).status, 0);
    }
    void TearDown() override { qunsetenv("XDG_CONFIG_HOME"); }
    QString dbf() const { return dir.filePath(QStringLiteral("STAMPS.DBF")); }
    QString mdx() const { return dir.filePath(QStringLiteral("STAMPS.MDX")); }

    QTemporaryDir dir;
};

TEST_F(CliPeerLockTest, MaintenanceIsRefusedWhileAnotherProgramLocks) {
    const std::string table = dbf().toStdString();
    const std::vector<std::vector<std::string>> commands = {{"pack", table},
                                                            {"reindex", table},
                                                            {"index", table, "Upper(Country)"},
                                                            {"sort", table, "3"}};
    for (const auto& [mode, file] :
         {std::pair{"x", dbf()}, std::pair{"s", dbf()}, std::pair{"s", mdx()}}) {
        QProcess holder;
        holder.start(
            QStringLiteral("/usr/bin/python3"),
            {QStringLiteral("-c"), QString::fromUtf8(kHolder), QString::fromUtf8(mode), file});
        ASSERT_TRUE(holder.waitForReadyRead(20000));
        ASSERT_EQ(holder.readLine().trimmed(), "locked");
        const QByteArray tableBefore = contents(dbf()), indexBefore = contents(mdx());
        for (const auto& command : commands) {
            SCOPED_TRACE(command[0] + " against lockf " + mode + " on " + file.toStdString());
            const CliRun r = run(command);
            EXPECT_NE(r.status, 0);
            EXPECT_NE(r.err.find("in use by another program"), std::string::npos) << r.err;
            EXPECT_EQ(contents(dbf()), tableBefore);
            EXPECT_EQ(contents(mdx()), indexBefore);
        }
        holder.closeWriteChannel();
        holder.waitForFinished();
    }
    EXPECT_EQ(run({"pack", table}).status, 0);  // once the other program is gone
}

}  // namespace
