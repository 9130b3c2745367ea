// engine::Table: creating, editing, field access and the cursor.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "engine/error.h"
#include "engine/table.h"
#include "table_test_util.h"

namespace engine {
namespace {

using namespace engine::testing;

class TableBasics : public ::testing::Test {
  protected:
    ScratchDir dir;
    std::string path = dir.file("STAMPS.DBF");

    // Five records; NAME is "r<recno>".
    void createFive() {
        createWithRows(path, sampleFields(),
                       {{"r1", "Austria", "1998", "2.675", "20240131", "1.5", "T"},
                        {"r2", "Belgium", "-5", "-0.5", "", "", "F"},
                        {"r3", "Chad", "", "", "19991231", "", ""},
                        {"r4", "Denmark", "2001", "100", "20000229", "3.25", "Y"},
                        {"r5", "Egypt", "1850", "0.0001", "18500101", "", "n"}});
    }
};

TEST_F(TableBasics, CreateWritesAnEmptyDbaseTableWithTheFieldLayout) {
    Table::create(path, sampleFields());
    std::string b = readFile(path);
    const std::size_t header = 32 + 7 * 32 + 1;
    ASSERT_EQ(b.size(), header + 1);
    EXPECT_EQ(std::uint8_t(b[0]), 0x03);
    EXPECT_EQ(u32At(b, 4), 0u);
    EXPECT_EQ(std::uint8_t(b[8]) | std::uint8_t(b[9]) << 8, int(header));
    EXPECT_EQ(std::uint8_t(b[10]) | std::uint8_t(b[11]) << 8, 1 + 20 + 20 + 11 + 20 + 8 + 10 + 1);
    EXPECT_EQ(b[28], 0);
    EXPECT_EQ(std::uint8_t(b[29]), 0x57);
    EXPECT_EQ(b[header - 1], 0x0D);
    EXPECT_EQ(b[header], 0x1A);

    Table t;
    t.open(path, OpenMode::Shared);
    ASSERT_EQ(t.fieldCount(), 7);
    const char* names[] = {"NAME", "COUNTRY", "YEAR", "COST", "BOUGHT", "RATE", "OK"};
    const char letters[] = {'C', 'C', 'N', 'N', 'D', 'F', 'L'};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(t.fields()[std::size_t(i)].name, names[i]);
        EXPECT_EQ(t.fields()[std::size_t(i)].typeLetter, letters[i]);
    }
    EXPECT_EQ(t.fieldIndex("country"), kCountry);
    EXPECT_EQ(t.fieldIndex("nothing"), -1);
    EXPECT_THROW(t.requireField("nothing"), EngineError);
    EXPECT_EQ(t.recordCount(), 0u);
    EXPECT_TRUE(t.eof());
    EXPECT_TRUE(t.bof());
    EXPECT_EQ(t.recNo(), 0u);
}

TEST_F(TableBasics, CreateRefusesBadDefinitions) {
    const std::vector<std::vector<FieldDef>> bad = {
        {},
        {{"", FieldType::Character, 5, 0}},
        {{"TOOLONGNAME", FieldType::Character, 5, 0}},
        {{"A", FieldType::Character, 5, 0}, {"a", FieldType::Character, 5, 0}},
        {{"A", FieldType::Character, 0, 0}},
        {{"A", FieldType::Character, 255, 0}},
        {{"A", FieldType::Numeric, 21, 0}},
        {{"A", FieldType::Numeric, 5, 4}},
        {{"A", FieldType::Date, 10, 0}},
        {{"A", FieldType::Memo, 10, 0}},
    };
    for (std::size_t i = 0; i < bad.size(); ++i)
        EXPECT_THROW(Table::create(path, bad[i]), EngineError) << "case " << i;
}

TEST_F(TableBasics, CreateReplacesAnExistingTableAndItsIndex) {
    createFive();
    {
        Table t;
        t.open(path, OpenMode::Exclusive);
        t.addIndexTag("NewIndex", "Upper(Left(Country,80))");
    }
    ASSERT_TRUE(exists(dir.file("STAMPS.MDX")));
    Table::create(path, sampleFields());
    EXPECT_FALSE(exists(dir.file("STAMPS.MDX")));
    Table t;
    t.open(path, OpenMode::Shared);
    EXPECT_EQ(t.physicalCount(), 0u);
    EXPECT_TRUE(t.tags().empty());
}

TEST_F(TableBasics, ValuesReadBackByType) {
    createFive();
    Table t;
    t.open(path, OpenMode::Shared);
    ASSERT_EQ(t.physicalCount(), 5u);
    RecordView r1 = t.record(1), r2 = t.record(2), r3 = t.record(3);
    EXPECT_EQ(r1.text(kName), "r1");
    EXPECT_EQ(r1.raw(kName), "r1                  ");
    EXPECT_EQ(r1.integer(kYear), 1998);
    EXPECT_EQ(r1.raw(kYear), "       1998");
    EXPECT_EQ(r1.raw(kCost), "              2.6750");
    EXPECT_DOUBLE_EQ(*r1.number(kCost), 2.675);
    EXPECT_EQ(r1.date(kBought), (Date{2024, 1, 31}));
    EXPECT_EQ(r1.text(kBought), "20240131");
    EXPECT_EQ(r1.text(kRate), "1.50");
    EXPECT_EQ(r1.text(kOk), "T");
    EXPECT_EQ(r2.integer(kYear), -5);
    EXPECT_EQ(r2.raw(kCost), "             -0.5000");
    EXPECT_EQ(r2.text(kOk), "F");
    EXPECT_TRUE(r2.date(kBought).blank());
    EXPECT_EQ(r2.text(kBought), "");
    for (int f : {kYear, kCost, kRate, kOk}) EXPECT_TRUE(r3.isBlank(f)) << f;
    EXPECT_FALSE(r3.isBlank(kBought));
    EXPECT_EQ(r3.integer(kYear), std::nullopt);
    EXPECT_EQ(r3.number(kCost), std::nullopt);
    EXPECT_EQ(r3.text(kOk), "");
    EXPECT_EQ(t.record(4).date(kBought), (Date{2000, 2, 29}));
    EXPECT_EQ(t.record(4).text(kOk), "T");
    EXPECT_EQ(t.record(5).text(kOk), "F");
    EXPECT_THROW(t.record(0), EngineError);
    EXPECT_THROW(t.record(6), EngineError);
}

TEST_F(TableBasics, ValuesThatDoNotFitAreRefusedAndLeaveTheBufferAlone) {
    Table::create(path, sampleFields());
    Table t;
    t.open(path, OpenMode::Exclusive);
    t.append();
    t.setText(kName, "a text longer than twenty characters");
    EXPECT_EQ(t.text(kName), "a text longer than t");
    t.setInteger(kYear, 7);
    const Date noFeb29{2023, 2, 29};
    struct Bad {
        const char* what;
        std::function<void()> set;
    };
    const std::vector<Bad> bad = {
        {"integer too wide", [&] { t.setInteger(kYear, 123456789012LL); }},
        {"number too wide", [&] { t.setNumber(kCost, 1e20); }},
        {"not finite", [&] { t.setNumber(kCost, std::numeric_limits<double>::infinity()); }},
        {"text not a number", [&] { t.setText(kYear, "abc"); }},
        {"F too wide", [&] { t.setNumber(kRate, 12345678.9); }},
        {"bad date", [&] { t.setDate(kBought, noFeb29); }},
        {"bad date text", [&] { t.setText(kBought, "2023-01-01"); }},
        {"bad logical", [&] { t.setText(kOk, "x"); }},
        {"no such field", [&] { t.setText(99, "x"); }},
    };
    for (const Bad& b : bad) EXPECT_THROW(b.set(), EngineError) << b.what;
    EXPECT_EQ(t.integer(kYear), 7);
    t.setInteger(kYear, -1234567890);  // N(11,0) holds any 32-bit value
    t.setNumber(kCost, -12345678901234.5);
    t.setNumber(kRate, -12345.67);
    t.post();
    EXPECT_EQ(t.integer(kYear), -1234567890);
    EXPECT_EQ(t.text(kCost), "-12345678901234.5000");
    EXPECT_EQ(t.text(kRate), "-12345.67");
}

TEST_F(TableBasics, WindowsTextRoundTripsAsUtf8AndIsStoredAsCp1252) {
    Table::create(path, sampleFields());
    Table t;
    t.open(path, OpenMode::Exclusive);
    t.append();
    t.setText(kName, "Österreich €");
    t.setText(kCountry, "Curaçao ŠŽ œ");
    t.post();
    EXPECT_EQ(t.text(kName), "Österreich €");
    EXPECT_EQ(t.text(kCountry), "Curaçao ŠŽ œ");
    EXPECT_EQ(t.record(1).raw(kName).substr(0, 12), "\xD6sterreich \x80");
    t.close();
    t.open(path, OpenMode::Shared);
    EXPECT_EQ(t.text("name"), "Österreich €");
}

TEST_F(TableBasics, TextTheCodePageCannotHoldIsRefusedUnlessStandInsAreAsked) {
    Table::create(path, sampleFields());
    Table t;
    t.open(path, OpenMode::Exclusive);
    t.append();
    t.setText(kName, "kept");
    try {
        t.setText(kName, "Ελλάδα");
        FAIL() << "no error";
    } catch (const EngineError& e) {
        EXPECT_NE(std::string(e.what()).find("NAME"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("\"Ελάδα\""), std::string::npos) << e.what();
    }
    EXPECT_EQ(t.text(kName), "kept");
    t.setText(kCountry, "Espan\u0303a");  // composed before it is stored
    EXPECT_EQ(t.text(kCountry), "España");
    t.setStandIns(true);
    t.setText(kName, "Łódź");
    t.post();
    EXPECT_EQ(t.text(kName), "?ód?");
}

TEST_F(TableBasics, NumbersAndDatesThatDoNotFitATextFieldAreRefused) {
    Table::create(path, {{"CODE", FieldType::Character, 4, 0}});
    Table t;
    t.open(path, OpenMode::Exclusive);
    t.append();
    t.setInteger(0, -123);
    EXPECT_THROW(t.setInteger(0, 12345), EngineError);
    EXPECT_THROW(t.setNumber(0, 2.125), EngineError);
    EXPECT_THROW(t.setDate(0, Date{1998, 3, 15}), EngineError);
    EXPECT_EQ(t.text(0), "-123");
}

TEST_F(TableBasics, EditPostCancelAndDelete) {
    createFive();
    Table t;
    t.open(path, OpenMode::Exclusive);
    ASSERT_TRUE(t.goToRecord(2));
    t.edit();
    EXPECT_EQ(t.state(), EditState::Edit);
    t.setText(kName, "changed");
    EXPECT_EQ(t.text(kName), "changed");  // the edit buffer, before post
    EXPECT_EQ(t.record(2).text(kName), "r2");
    t.cancel();
    EXPECT_EQ(t.state(), EditState::Browse);
    EXPECT_EQ(t.text(kName), "r2");

    t.edit();
    t.setText(kName, "changed");
    t.post();
    EXPECT_EQ(t.record(2).text(kName), "changed");
    EXPECT_EQ(t.recNo(), 2u);

    t.append();
    t.setText(kName, "dropped");
    t.cancel();
    EXPECT_EQ(t.physicalCount(), 5u);
    EXPECT_THROW(t.setText(kName, "x"), EngineError);  // not editing

    t.insert();
    EXPECT_EQ(t.state(), EditState::Insert);
    t.setText(kName, "r6");
    t.post();
    EXPECT_EQ(t.physicalCount(), 6u);
    EXPECT_EQ(t.recNo(), 6u);
    EXPECT_EQ(t.text(kName), "r6");
    EXPECT_TRUE(t.isBlank(kYear));

    // Moving while editing posts the change.
    ASSERT_TRUE(t.goToRecord(3));
    t.edit();
    t.setText(kName, "moved");
    t.next();
    EXPECT_EQ(t.record(3).text(kName), "moved");

    ASSERT_TRUE(t.goToRecord(3));
    t.deleteRecord();
    EXPECT_EQ(t.recNo(), 4u);  // the next record becomes current
    EXPECT_TRUE(t.record(3).deleted());
    EXPECT_EQ(t.physicalCount(), 6u);
    EXPECT_EQ(t.recordCount(), 5u);
    EXPECT_FALSE(t.goToRecord(3));
    EXPECT_EQ(visitOrder(t), (std::vector<std::uint32_t>{1, 2, 4, 5, 6}));
    t.close();

    std::string b = readFile(path);
    const std::size_t hlen = 32 + 7 * 32 + 1, rlen = 91;
    EXPECT_EQ(u32At(b, 4), 6u);
    EXPECT_EQ(b.size(), hlen + 6 * rlen + 1);
    EXPECT_EQ(b[hlen + 2 * rlen], '*');
    EXPECT_EQ(b.back(), 0x1A);
}

TEST_F(TableBasics, SharedReadOnlyStatesRefuseWrongUse) {
    createFive();
    Table t;
    EXPECT_THROW(t.first(), EngineError);  // not open
    EXPECT_THROW(t.append(), EngineError);
    t.open(path, OpenMode::Shared);
    EXPECT_THROW(t.pack(), EngineError);  // needs exclusive use
    EXPECT_THROW(t.regenerateIndexes(), EngineError);
    t.close();
    EXPECT_FALSE(t.isOpen());
    EXPECT_EQ(t.recordCount(), 0u);
    Table missing;
    EXPECT_THROW(missing.open(dir.file("NONE.DBF"), OpenMode::Shared), EngineError);
}

TEST_F(TableBasics, CursorWalksBothWaysAndByPosition) {
    createFive();
    Table t;
    t.open(path, OpenMode::Shared);
    EXPECT_EQ(t.recNo(), 1u);  // open makes the first record current
    EXPECT_EQ(visitOrder(t), (std::vector<std::uint32_t>{1, 2, 3, 4, 5}));
    EXPECT_TRUE(t.eof());

    std::vector<std::uint32_t> back;
    for (t.last(); !t.bof(); t.prior()) back.push_back(t.recNo());
    EXPECT_EQ(back, (std::vector<std::uint32_t>{5, 4, 3, 2, 1}));
    EXPECT_EQ(t.recNo(), 1u);  // bof keeps the first record current

    t.moveTo(2);
    EXPECT_EQ(t.recNo(), 3u);
    EXPECT_EQ(t.position(), 2u);
    EXPECT_FALSE(t.eof() || t.bof());
    t.moveTo(99);  // clamps to the last
    EXPECT_EQ(t.recNo(), 5u);
    EXPECT_EQ(t.position(), 4u);
    t.next();
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.recNo(), 5u);

    EXPECT_TRUE(t.goToRecord(4));
    EXPECT_EQ(t.position(), 3u);
    EXPECT_FALSE(t.goToRecord(0));
    EXPECT_FALSE(t.goToRecord(6));
    EXPECT_EQ(t.visibleAt(1).recNo(), 2u);
    EXPECT_THROW(t.visibleAt(5), EngineError);
}

TEST_F(TableBasics, FilterLimitsWhatIsVisitedAndCounted) {
    createFive();
    Table t;
    t.open(path, OpenMode::Exclusive);
    t.goToRecord(4);
    t.deleteRecord();
    t.setFilter([](const RecordView& r) { return r.integer(kYear).value_or(0) > 0; });
    EXPECT_EQ(t.recordCount(), 2u);  // r1 and r5; r4 is deleted, r2 negative, r3 blank
    EXPECT_EQ(visitOrder(t), (std::vector<std::uint32_t>{1, 5}));
    EXPECT_FALSE(t.goToRecord(2));
    t.setFilter([](const RecordView&) { return false; });
    EXPECT_EQ(t.recordCount(), 0u);
    t.first();
    EXPECT_TRUE(t.eof() && t.bof());
    EXPECT_THROW(t.current(), EngineError);
    t.clearFilter();
    EXPECT_EQ(t.recordCount(), 4u);
}

TEST_F(TableBasics, RefreshSeesRecordsAddedThroughAnotherHandle) {
    createFive();
    Table reader, writer;
    reader.open(path, OpenMode::Shared);
    writer.open(path, OpenMode::Shared);
    EXPECT_EQ(reader.recordCount(), 5u);
    appendRow(writer, {"r6", "Fiji"});
    writer.goToRecord(1);
    writer.deleteRecord();
    reader.refresh();
    EXPECT_EQ(reader.physicalCount(), 6u);
    EXPECT_EQ(reader.recordCount(), 5u);
    EXPECT_EQ(visitOrder(reader), (std::vector<std::uint32_t>{2, 3, 4, 5, 6}));
    EXPECT_EQ(reader.record(6).text(kCountry), "Fiji");
}

}  // namespace
}  // namespace engine
