// The manual page of the companion documents every verb its --help lists, so a verb added
// later cannot go undocumented.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "cli_run.h"

namespace {

TEST(CliManual, DocumentsEveryVerbOfTheHelp) {
    const cli::testing::CliRun help = cli::testing::run({"--help"});
    ASSERT_EQ(help.status, 0);
    std::ifstream in(std::string(TESS_SOURCE_DIR) + "/packaging/tessellon-cli.1");
    ASSERT_TRUE(in);
    std::ostringstream page;
    page << in.rdbuf();

    // Help lines of the form "  verb FILE..." name the verbs.
    const std::regex verbLine(R"(^  ([a-z]+) [A-Z])");
    std::istringstream lines(help.out);
    int verbs = 0;
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (!std::regex_search(line, m, verbLine)) continue;
        ++verbs;
        EXPECT_NE(page.str().find(".BI \"" + m[1].str() + " "), std::string::npos)
            << "the manual page does not document " << m[1];
    }
    EXPECT_GE(verbs, 15);
}

}  // namespace
