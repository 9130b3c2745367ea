// Running a script through the sqlite3 shell from a test and reading what it prints.
#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <string>

namespace cli::testing {

// `script` run by `sqlite3 -batch -bail database`; its standard output. A failure is reported
// to the running test.
inline std::string runSqliteScript(const std::string& database, const std::string& script) {
    QProcess p;
    p.start("sqlite3", {"-batch", "-bail", QString::fromStdString(database)});
    p.write(script.c_str());
    p.closeWriteChannel();
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput().toStdString();
}

}  // namespace cli::testing
