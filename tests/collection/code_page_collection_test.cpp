// Collections in the code pages New Database offers: each keeps its own alphabet, names its code
// page in the language driver byte as other dBase programs read it, and opens with it again.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "collection/code_pages.h"
#include "collection/collection_file.h"
#include "engine/table.h"

namespace collection {
namespace {

using engine::CodePage;

// Output of Python's dbfread reading `path` with the code page it finds in the file, or empty
// when /usr/bin/python3 or dbfread is missing.
std::string readWithDbfread(const std::string& path) {
    const std::string command =
        "/usr/bin/python3 -c \"import sys, dbfread; t = dbfread.DBF(sys.argv[1]); "
        "print(t.encoding); [print(r['COUNTRY']) for r in t]\" '" +
        path + "' 2>/dev/null";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
        if (pclose(pipe) != 0) output.clear();
    }
    return output;
}

TEST(CodePageCollection, EachAlphabetIsStoredReadBackAndNamedForOtherPrograms) {
    QTemporaryDir dir;
    const struct {
        CodePage cp;
        std::uint8_t driver;
        std::string country;
        const char* pythonName;
    } cases[] = {
        {CodePage::Cp1250, 0xC8, "Łódź", "cp1250"},
        {CodePage::Cp1253, 0xCB, "Ελλάδα", "cp1253"},
        {CodePage::Cp1251, 0xC9, "Россия", "cp1251"},
        {CodePage::Cp1254, 0xCA, "İstanbul Şişli", "cp1254"},
        {CodePage::Cp1257, 0xCC, "Šiauliai Ūkis", nullptr},  // dbfread 2.0.7 lacks 0xCC
        {CodePage::Cp1252, 0x57, "Curaçao", "cp1252"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(codePageName(c.cp).toStdString());
        const QString path = dir.filePath(QStringLiteral("C%1.DBF").arg(codePageNumber(c.cp)));
        ASSERT_TRUE(MakeNewDB(path, {}, c.cp));
        {
            engine::Table t;
            t.open(path.toStdString(), engine::OpenMode::Shared);
            t.append();
            EXPECT_FALSE(t.setText("Country", c.country));  // nothing replaced by stand-ins
            t.post();
        }
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(std::uint8_t(file.read(30).at(29)), c.driver);

        engine::Table again;
        again.open(path.toStdString(), engine::OpenMode::ReadOnly);
        EXPECT_EQ(again.codePage(), c.cp);
        again.first();
        EXPECT_EQ(again.text("Country"), c.country);
        EXPECT_TRUE(CheckDBaseFormat(path, {}));

        if (!c.pythonName) continue;
        const std::string python = readWithDbfread(path.toStdString());
        if (python.empty()) GTEST_SKIP() << "python3-dbfread missing";
        EXPECT_EQ(python, std::string(c.pythonName) + "\n" + c.country + "\n");
    }
}

TEST(CodePageCollection, OfferedCodePagesAndTheirNames) {
    ASSERT_EQ(offeredCodePages().size(), 6u);
    EXPECT_EQ(offeredCodePages().front(), CodePage::Cp1252);  // the default comes first
    EXPECT_EQ(codePageName(CodePage::Cp1252), QStringLiteral("Western European (Windows-1252)"));
    EXPECT_EQ(codePageName(CodePage::Cp1250), QStringLiteral("Central European (Windows-1250)"));
    EXPECT_EQ(codePageName(CodePage::Cp866), QStringLiteral("Cyrillic (DOS 866)"));
    EXPECT_EQ(offeredCodePage(QStringLiteral("1257")), CodePage::Cp1257);
    EXPECT_EQ(offeredCodePage(QStringLiteral("windows-1253")), CodePage::Cp1253);
    EXPECT_EQ(offeredCodePage(QStringLiteral("CP1251")), CodePage::Cp1251);
    EXPECT_FALSE(offeredCodePage(QStringLiteral("866")));  // readable, not offered for new ones
    EXPECT_FALSE(offeredCodePage(QStringLiteral("12500")));
    EXPECT_FALSE(offeredCodePage(QString()));
}

}  // namespace
}  // namespace collection
