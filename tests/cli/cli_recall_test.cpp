// recall and dump --deleted: deleted stamps listed with their record numbers and brought back.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "cli_run.h"
#include "engine/table.h"

namespace {

using cli::testing::CliRun;
using cli::testing::run;

TEST(CliRecall, DeletedStampsAreListedAndRecalledByRecordNumber) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("C.DBF").toStdString();
    ASSERT_EQ(run({"create", path}).status, 0);
    {
        engine::Table t;
        t.open(path, engine::OpenMode::Shared);
        for (const char* country : {"Spain", "Malta", "Chile"}) {
            t.append();
            t.setText("Country", country);
            t.post();
        }
        t.goToRecord(2);
        t.deleteRecord();
        t.goToRecord(3);
        t.deleteRecord();
    }
    const CliRun listed = run({"dump", path, "--deleted"});
    ASSERT_EQ(listed.status, 0);
    EXPECT_EQ(listed.out.rfind("2,\"\",\"\",\"Malta\",", 0), 0u) << listed.out;
    EXPECT_NE(listed.out.find("\n3,\"\",\"\",\"Chile\","), std::string::npos);
    EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), 2);

    const CliRun recalled = run({"recall", path, "3", "1", "x7", "9"});
    EXPECT_EQ(recalled.status, 2);  // the others were not deleted records
    EXPECT_EQ(recalled.out, "Recalled: 1\n");
    EXPECT_EQ(recalled.err,
              "Error: record 1 is not a deleted record of the collection.\n"
              "Error: \"x7\" is not a record number.\n"
              "Error: record 9 is not a deleted record of the collection.\n");
    EXPECT_EQ(run({"dump", path, "--deleted"}).out.find("Chile"), std::string::npos);
    const CliRun all = run({"dump", path});
    EXPECT_NE(all.out.find("\"Chile\""), std::string::npos);
    EXPECT_EQ(all.out.find("\"Malta\""), std::string::npos);
}

}  // namespace
