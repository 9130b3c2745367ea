// Export and import follow the collection's code page: a Greek collection's text leaves in
// Windows-1253 (a text file) or as a Windows-1253 table, and comes back whole.
#include <gtest/gtest.h>

#include <QString>

#include "collection/collection_file.h"
#include "engine/table.h"
#include "interchange/delimited_line_reader.h"
#include "interchange/export_run.h"
#include "interchange/import_run.h"
#include "interchange_test_support.h"

namespace interchange::testing {
namespace {

TEST(CodePageInterchange, AGreekCollectionsTextLeavesAndComesBackWhole) {
    Scratch scratch;
    const std::string greek = scratch.file("GREECE.DBF");
    ASSERT_TRUE(collection::MakeNewDB(QString::fromStdString(greek), {}, engine::CodePage::Cp1253));
    engine::Table table;
    table.open(greek, engine::OpenMode::Shared);
    table.append();
    table.setText("Country", "Ελλάδα");
    table.setText("Catalog", "GR-1");
    table.post();

    ExportRequest request;
    request.fields = {1, 3};
    const std::string text = scratch.file("out.txt");
    ASSERT_EQ(exportText(table, text, request).error, "");
    EXPECT_EQ(readBytes(text), "\"GR-1\",\"\xC5\xEB\xEB\xDC\xE4\xE1\"\r\n");

    const std::string dbf = scratch.file("OUT.DBF");
    ASSERT_EQ(exportDbf(table, dbf, request).error, "");
    engine::Table exported;
    exported.open(dbf, engine::OpenMode::ReadOnly);
    EXPECT_EQ(exported.codePage(), engine::CodePage::Cp1253);
    EXPECT_EQ(rows(exported), (std::vector<std::string>{"GR-1|Ελλάδα"}));

    // The Windows-1253 text file read back into the collection: not UTF-8, so its code page.
    ImportOptions options;
    options.dateFormat = {7, false};
    options.currentYear = 2024;
    const ImportResult r = importText(table, text, 2, false, {1, 3}, options);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.added, 1u);
    EXPECT_EQ(rows(table)[1], rows(table)[0]);
    // The Import window's field names are read the same way.
    EXPECT_EQ(readFirstLine(text, table.codePage()).names,
              (std::vector<std::string>{"GR-1", "Ελλάδα"}));
}

}  // namespace
}  // namespace interchange::testing
