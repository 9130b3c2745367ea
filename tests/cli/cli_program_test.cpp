// tessellon-cli as users start it: it loads only the libraries its own verbs need (a start-up of a
// few milliseconds), and the verbs it hands to tessellon-cli-report still run to the end.
#include <gtest/gtest.h>

#include <elf.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstring>
#include <string>
#include <vector>

namespace {

const QString kCli = QStringLiteral(TESS_BINARY_DIR "/src/cli/tessellon-cli");

// The DT_NEEDED entries of a 64-bit ELF program: the shared libraries it asks the loader for.
std::vector<std::string> neededLibraries(const QString& program) {
    QFile f(program);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = f.readAll();
    const char* base = bytes.constData();
    if (bytes.size() < qsizetype(sizeof(Elf64_Ehdr))) return {};
    Elf64_Ehdr header;
    std::memcpy(&header, base, sizeof header);
    std::vector<Elf64_Shdr> sections(header.e_shnum);
    std::memcpy(sections.data(), base + header.e_shoff, sections.size() * sizeof(Elf64_Shdr));
    std::vector<std::string> out;
    for (const Elf64_Shdr& s : sections) {
        if (s.sh_type != SHT_DYNAMIC) continue;
        const char* strings = base + sections[s.sh_link].sh_offset;
        for (std::size_t k = 0; k < s.sh_size / sizeof(Elf64_Dyn); ++k) {
            Elf64_Dyn entry;
            std::memcpy(&entry, base + s.sh_offset + k * sizeof entry, sizeof entry);
            if (entry.d_tag == DT_NEEDED) out.emplace_back(strings + entry.d_un.d_val);
        }
    }
    return out;
}

TEST(CliProgram, StartsWithoutTheGuiLibraryOrLibzip) {
    if (!QFile::exists(kCli)) GTEST_SKIP() << "no tessellon-cli";
    const std::vector<std::string> needed = neededLibraries(kCli);
    ASSERT_FALSE(needed.empty());
    for (const std::string& library : needed) {
        EXPECT_EQ(library.find("Qt6Gui"), std::string::npos) << library;
        EXPECT_EQ(library.find("Qt6Widgets"), std::string::npos) << library;
        EXPECT_EQ(library.find("libzip"), std::string::npos) << library;
    }
}

// Tellico export and import run in the second program, with the checks, output and exit status
// of the verb; pack runs in tessellon-cli itself.
TEST(CliProgram, HandedOverVerbsRunToTheEnd) {
    if (!QFile::exists(kCli)) GTEST_SKIP() << "no tessellon-cli";
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    const auto cli = [](const QStringList& args, QString* out = nullptr) {
        QProcess p;
        p.start(kCli, args);
        p.waitForFinished(60000);
        if (out) *out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
        return p.exitCode();
    };
    const QString from = dir.filePath(QStringLiteral("A.DBF"));
    const QString to = dir.filePath(QStringLiteral("B.DBF"));
    const QString text = dir.filePath(QStringLiteral("in.txt"));
    const QString tc = dir.filePath(QStringLiteral("out.tc"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\"Country\",\"Year\"\r\n\"Spain\",\"1850\"\r\n\"Chile\",\"12000\"\r\n");
    f.close();
    ASSERT_EQ(cli({QStringLiteral("create"), from}), 0);
    ASSERT_EQ(cli({QStringLiteral("create"), to}), 0);
    ASSERT_EQ(cli({QStringLiteral("import"), from, text, QStringLiteral("--text"),
                   QStringLiteral("--skip-first")}),
              0);
    QString said;
    EXPECT_EQ(cli({QStringLiteral("export"), from, tc, QStringLiteral("--tellico")}, &said), 0);
    EXPECT_EQ(said, QStringLiteral("Exported 2 records.\n"));
    EXPECT_EQ(cli({QStringLiteral("import"), to, tc, QStringLiteral("--tellico")}, &said), 0);
    EXPECT_TRUE(said.endsWith(QStringLiteral("Imported 2 records.\n"))) << said.toStdString();
    EXPECT_EQ(cli({QStringLiteral("import"), to, text, QStringLiteral("--tellico")}, &said), 2);
    EXPECT_TRUE(said.startsWith(QStringLiteral("Error: "))) << said.toStdString();
    EXPECT_EQ(cli({QStringLiteral("pack"), to}, &said), 0);
    EXPECT_EQ(said, QStringLiteral("Packed: 0 deleted records removed, 2 kept.\n"));
}

}  // namespace
