// tessellon-cli report: the same renderer as the Reports window, to a text or PDF file, over the
// collection in its sort order and through search criteria.
#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <sstream>

#include "cli/cli_commands.h"
#include "reports/report_file.h"
#include "reports/report_test_collection.h"

namespace {

using report_testing::ReportCollection;

// Painting and fonts need a QGuiApplication; the other verbs' tests run without one, so it is
// made on first use and kept.
void ensureGuiApplication() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tess_cli_tests";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}

class CliReportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ensureGuiApplication();
        previousConfig_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
        ASSERT_TRUE(reports::ReportFile(urp()).writeDefaults());
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", previousConfig_); }

    QString urp() const { return config_.filePath(QStringLiteral("TESSELON.URP")); }

    int run(std::vector<std::string> args) {
        out.str({});
        err.str({});
        return cli::runCli(args, out, err);
    }

    QStringList linesOf(const QString& path) {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        QStringList lines = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
        lines.removeLast();
        return lines;
    }

    QTemporaryDir config_;
    QByteArray previousConfig_;
    ReportCollection stamps{report_testing::sixStamps()};
    std::ostringstream out, err;
};

}  // namespace

TEST_F(CliReportTest, TextFileMatchesTheWindowsRendererLineForLine) {
    const QString text = stamps.file(QStringLiteral("R1.TXT"));
    ASSERT_EQ(run({"report", stamps.dbfPath().toStdString(), "1", "--text", text.toStdString(),
                   "--urp", urp().toStdString()}),
              0)
        << err.str();
    QStringList got = linesOf(text);
    QStringList want = stamps.textOf(reports::defaultReports()[0]);
    ASSERT_EQ(got.size(), want.size());
    // The footer carries today's date; everything before it is the same.
    got.removeLast();
    want.removeLast();
    EXPECT_EQ(got, want);
}

TEST_F(CliReportTest, CriteriaChooseTheRecordsAndPdfIsWritten) {
    const QString text = stamps.file(QStringLiteral("BEL.TXT"));
    ASSERT_EQ(run({"report", stamps.dbfPath().toStdString(), "5", "--text", text.toStdString(),
                   "--urp", urp().toStdString(), "Country:bel"}),
              0)
        << err.str();
    const QString all = linesOf(text).join(QLatin1Char('\n'));
    EXPECT_TRUE(all.contains(QLatin1String("Pellens")));
    EXPECT_FALSE(all.contains(QLatin1String("Austria")));
    EXPECT_FALSE(all.contains(QLatin1String("Canada")));

    const QString pdf = stamps.file(QStringLiteral("R2.PDF"));
    ASSERT_EQ(run({"report", stamps.dbfPath().toStdString(), "2", "--pdf", pdf.toStdString(),
                   "--urp", urp().toStdString()}),
              0)
        << err.str();
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.read(5), QByteArray("%PDF-"));
}

TEST_F(CliReportTest, RefusesBadArguments) {
    const std::string dbf = stamps.dbfPath().toStdString();
    const std::string txt = stamps.file(QStringLiteral("X.TXT")).toStdString();
    const std::string u = urp().toStdString();
    EXPECT_EQ(run({"report", dbf, "7", "--text", txt, "--urp", u}), 2);  // six reports only
    EXPECT_NE(err.str().find("Report 7 not found"), std::string::npos);
    EXPECT_EQ(run({"report", dbf, "0", "--text", txt, "--urp", u}), 2);
    EXPECT_EQ(run({"report", dbf, "1", "--urp", u}), 2);  // neither --text nor --pdf
    EXPECT_EQ(run({"report", dbf, "1", "--text", txt, "--pdf", txt, "--urp", u}), 2);
    EXPECT_EQ(run({"report", dbf, "1", "--text", txt, "--urp", u, "Nosuchfield:1"}), 2);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(txt)));
}

TEST_F(CliReportTest, WithoutAProgramFolderItIsMadeWithTheDefaultReports) {
    // The program folder does not exist yet, as on a first run from the command line.
    QTemporaryDir home;
    const QString folder = home.filePath(QStringLiteral("not/yet/there"));
    const QByteArray previous = qgetenv("TESSELLON_PROGRAM_DIR");
    qputenv("TESSELLON_PROGRAM_DIR", folder.toUtf8());
    const QString text = stamps.file(QStringLiteral("FIRST.TXT"));
    const int status =
        run({"report", stamps.dbfPath().toStdString(), "1", "--text", text.toStdString()});
    qputenv("TESSELLON_PROGRAM_DIR", previous);
    EXPECT_EQ(status, 0) << err.str();
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/TESSELON.URP")));
    EXPECT_TRUE(QFile::exists(text));
}

TEST_F(CliReportTest, APdfOnAFullDiskSaysWhatFailed) {
    if (!QFile::exists(QStringLiteral("/dev/full"))) GTEST_SKIP() << "no /dev/full";
    EXPECT_EQ(run({"report", stamps.dbfPath().toStdString(), "2", "--pdf", "/dev/full", "--urp",
                   urp().toStdString()}),
              2);
    EXPECT_NE(err.str().find("could not be written"), std::string::npos) << err.str();
    EXPECT_EQ(err.str().find("Unknown error"), std::string::npos) << err.str();
}
