// tessellon-cli report: the same renderer as the Reports window, to a text or PDF file, over the
// collection in its sort order and through search criteria.
#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <sstream>

#include "cli/cli_commands.h"
#include "pictures/picture_store.h"
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

TEST_F(CliReportTest, AlbumWritesThePicturesOfTheChosenStampsIntoAPdf) {
    const std::string dbf = stamps.dbfPath().toStdString();
    const std::string pdf = stamps.file(QStringLiteral("ALBUM.PDF")).toStdString();
    // No stamp has a picture yet: nothing to print, and said so.
    EXPECT_EQ(run({"album", dbf, "--pdf", pdf}), 2);
    EXPECT_NE(err.str().find("has a picture"), std::string::npos) << err.str();

    // Pictures of B1 (record 3) and C1 (record 1).
    pictures::PictureStore store(stamps.dbfPath());
    for (const auto& [recno, name] : {std::pair{3u, "b1.jpg"}, std::pair{1u, "c1.jpg"}}) {
        QImage image(120, 90, QImage::Format_RGB32);
        image.fill(recno == 1 ? Qt::red : Qt::blue);
        const QString path = stamps.file(QLatin1String(name));
        ASSERT_TRUE(image.save(path, "JPG"));
        store.add(recno, {path}, pictures::Fingerprint());
    }
    ASSERT_EQ(run({"album", dbf, "--pdf", pdf, "--per-row", "2"}), 0) << err.str();
    EXPECT_NE(out.str().find("Album pages of 2 stamps written to"), std::string::npos);
    QFile f(QString::fromStdString(pdf));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().count("/Filter /DCTDecode"), 2);
    f.close();

    // Criteria choose the stamps as for report.
    ASSERT_EQ(run({"album", dbf, "--pdf", pdf, "Country:bel"}), 0) << err.str();
    EXPECT_NE(out.str().find("Album pages of 1 stamp written"), std::string::npos);
    EXPECT_EQ(run({"album", dbf, "--pdf", pdf, "--per-row", "9"}), 2);
    EXPECT_EQ(run({"album", dbf, "--per-row", "2"}), 2);  // no --pdf
}
