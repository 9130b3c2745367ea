// Start-up offer to convert collections of the two earlier versions found in the program
// directory. The old tables are written by Python's dbf package in the old layouts.
#include <QFile>
#include <QFileInfo>
#include <cstdlib>

#include "app_test_env.h"
#include "collection/earlier_versions.h"
#include "engine/table.h"

namespace app::testing {
namespace {

class ConversionTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        if (std::system("/usr/bin/python3 -c 'import dbf' 2>/dev/null") != 0)
            GTEST_SKIP() << "/usr/bin/python3 has no dbf package";
    }
    void makeOld(const QString& layout, const QString& file, const QString& json) {
        const QString command =
            QStringLiteral(
                "/usr/bin/python3 '%1/tests/app/make_old_collection.py' "
                "%2 '%3' '%4'")
                .arg(QStringLiteral(TESS_SOURCE_DIR), layout, programDir() + u'/' + file, json);
        ASSERT_EQ(std::system(command.toLocal8Bit().constData()), 0) << command.toStdString();
    }
    void writeOldSettings(const char* useQuantity) {
        QFile f(programDir() + QStringLiteral("/TESSOLD.INI"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("[Reports]\r\nUse Quantity=") + useQuantity + "\r\n");
    }
    // Field `name` of every record of the master collection, in record order.
    QStringList column(const char* name) {
        engine::Table t;
        t.open(masterPath().toStdString(), engine::OpenMode::Shared);
        t.selectIndex({});
        QStringList values;
        for (std::uint32_t r = 1; r <= t.physicalCount(); ++r)
            values << QString::fromStdString(t.record(r).text(t.requireField(name)));
        return values;
    }
};

TEST_F(ConversionTest, BothVersionsAreOfferedNewerFirstAndConvertedThenDeleted) {
    makeCollection(masterPath());
    writeOldSettings("No");
    makeOld("v2", "S2LOG.DBF",
            R"([{"Catalog":"SG 12a-3","Country":"France","Quantity":4,"MarketValu":10,"Cost":2,)"
            R"("Date":"1990-07-01"},{"Catalog":"none","Quantity":0,"MarketValu":7,"Cost":3}])");
    makeOld("v1", "SLOG.DBF",
            R"([{"Catalog":"77","PurchMonth":"Mar","PurchDay":"15","PurchYear":"96",)"
            R"("OverPrint":"Yes","PostalCard":"Yes","PreCancel":"No"},)"
            R"({"Catalog":"78","PurchMonth":"MAR","PurchDay":"15","PurchYear":"96"}])");
    platform_.queueAnswer(ui::MessageAnswer::Yes);
    platform_.queueAnswer(ui::MessageAnswer::Yes);
    TMain& w = start();
    ASSERT_FALSE(w.startFailed());
    ASSERT_EQ(platform_.boxes().size(), 2u) << platform_.boxSummary().join('\n').toStdString();
    EXPECT_EQ(platform_.boxes()[0].title, QStringLiteral("Convert"));
    EXPECT_EQ(platform_.boxes()[0].text, collection::kConvertV2Question);
    EXPECT_EQ(platform_.boxes()[1].text, collection::kConvertV1Question);
    EXPECT_FALSE(QFileInfo::exists(programDir() + QStringLiteral("/S2LOG.DBF")));
    EXPECT_FALSE(QFileInfo::exists(programDir() + QStringLiteral("/SLOG.DBF")));
    w.MyTable.close();

    EXPECT_EQ(column("Catalog"), (QStringList{"SG 12a-3", "none", "77", "78"}));
    EXPECT_EQ(column("CatalogI"), (QStringList{"123", "", "77", "78"}));
    EXPECT_EQ(column("Country"), (QStringList{"France", "", "", ""}));
    // "Use Quantity" = No divides by the quantity; a quantity of 0 divides nothing.
    EXPECT_EQ(column("MarketValu"), (QStringList{"2.5000", "7.0000", "", ""}));
    EXPECT_EQ(column("Cost"), (QStringList{"0.5000", "3.0000", "", ""}));
    // 1.X: "Mar" is March, "MAR" is not a month; flags joined in their order.
    EXPECT_EQ(column("Date"), (QStringList{"19900701", "", "19960315", ""}));
    EXPECT_EQ(column("Miscellane"), (QStringList{"", "", "Overprint, Postal Card", ""}));
}

TEST_F(ConversionTest, NoKeepsTheFileAndWrongLayoutsAreNotOffered) {
    makeCollection(masterPath());
    writeOldSettings("no");  // not exactly "No": nothing is divided
    makeOld("v2-22", "S2LOG.DBF", "[]");
    makeOld("v1", "SLOG.DBF", R"([{"Catalog":"1"}])");
    platform_.queueAnswer(ui::MessageAnswer::No);
    start();
    ASSERT_EQ(platform_.boxes().size(), 1u) << platform_.boxSummary().join('\n').toStdString();
    EXPECT_EQ(platform_.boxes()[0].text, collection::kConvertV1Question);
    EXPECT_TRUE(QFileInfo::exists(programDir() + QStringLiteral("/SLOG.DBF")));
    EXPECT_TRUE(QFileInfo::exists(programDir() + QStringLiteral("/S2LOG.DBF")));
    main_.reset();

    QFile::remove(programDir() + QStringLiteral("/S2LOG.DBF"));
    makeOld("v2-misnamed", "S2LOG.DBF", "[]");
    EXPECT_FALSE(collection::CheckDBaseFormatV2(programDir() + QStringLiteral("/S2LOG.DBF")));
    QFile::remove(programDir() + QStringLiteral("/S2LOG.DBF"));
    makeOld("v2", "S2LOG.DBF", R"([{"Quantity":4,"MarketValu":10}])");
    platform_.clearRecords();
    platform_.queueAnswer(ui::MessageAnswer::Yes);
    platform_.queueAnswer(ui::MessageAnswer::No);
    start().MyTable.close();
    EXPECT_EQ(column("MarketValu"), QStringList{"10.0000"});
}

// The layout test reads only: a file that fails it keeps every byte (its index flag too).
TEST_F(ConversionTest, LayoutTestLeavesAFileThatFailsItAsItWas) {
    makeOld("v2-22", "S2LOG.DBF", "[]");
    const QString old = programDir() + QStringLiteral("/S2LOG.DBF");
    {
        QFile f(old);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(28);
        f.write("\x01", 1);
    }
    QFile f(old);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    EXPECT_FALSE(collection::CheckDBaseFormatV2(old));
    EXPECT_FALSE(collection::CheckDBaseFormatV1(old));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

}  // namespace
}  // namespace app::testing
