// The line reader on the cases that decide what a value holds: quotes, blanks, line breaks,
// limits of the first line, extra fields, control characters and the two encodings.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "interchange/delimited_line_reader.h"
#include "interchange/transfer_error.h"
#include "interchange_test_support.h"

namespace interchange::testing {
namespace {

using Records = std::vector<std::vector<std::string>>;

class LineReaderTest : public ::testing::Test {
  protected:
    // Every record of `bytes`, reading `fields` fields a line.
    Records records(const std::string& bytes, int fields) {
        DelimitedLineReader reader(scratch_.write("in.txt", bytes));
        Records out;
        std::vector<std::string> values;
        while (!reader.atEnd()) {
            const int n = reader.readRecord(values, fields);
            if (n > 0) out.emplace_back(values.begin(), values.begin() + n);
        }
        return out;
    }
    FirstLine firstLine(const std::string& bytes) {
        return readFirstLine(scratch_.write("first.txt", bytes));
    }
    static std::string quotedLine(int fields, const std::string& value = "x") {
        std::string line;
        for (int i = 0; i < fields; ++i) line += (i ? ",\"" : "\"") + value + "\"";
        return line + "\r\n";
    }
    Scratch scratch_;
};

// Ordinary bytes are taken several at a time: a quote, a control character or the line break
// is seen wherever it stands in a long value, and bytes above 127 are ordinary.
TEST_F(LineReaderTest, SpecialBytesAreSeenAtEveryPosition) {
    for (std::size_t at = 0; at < 20; ++at) {
        const std::string head(at, 'a');
        const std::string tail =
            "\xC3\xA9"
            "bcdefghijk";
        const Records got = records("\"" + head + "\"\"" + tail + "\",\"" + head + "\t" + tail +
                                        "\",\"" + head + "\"\r\n\"" + tail + "\"\r\n",
                                    5);
        ASSERT_EQ(got.size(), 2u) << at;
        EXPECT_EQ(got[0], (std::vector<std::string>{head + "\"" + tail, head + tail, head})) << at;
        EXPECT_EQ(got[1], (std::vector<std::string>{"\u00E9bcdefghijk"})) << at;
    }
}

TEST_F(LineReaderTest, QuotesCommasAndBlanksFollowTheSixRules) {
    struct Case {
        const char* name;
        std::string line;
        std::vector<std::string> values;
    };
    const std::vector<Case> cases = {
        {"plain", "\"a\",\"b c\",\"\"\r\n", {"a", "b c", ""}},
        {"doubled quote", "\"5\"\" block\",\"x\"\r\n", {"5\" block", "x"}},
        {"comma inside quotes", "\"Paris, France\",\"x\"\r\n", {"Paris, France", "x"}},
        {"blank before opening quote", "\"a\", \"b\"\r\n", {"a", " b"}},
        {"unquoted fields end at a comma", "a,b,\"c\"\r\n", {"a", "b", "c"}},
        {"trailing comma ends the line", "\"a\",\"b\",\r\n", {"a", "b"}},
        {"stray quote inside quotes kept", "\"5\" block\",\"x\"\r\n", {"5\" block", "x"}},
        {"control characters dropped", "\"a\tb\x01\",\"c\"\r\n", {"ab", "c"}},
        {"line feed alone", "\"a\",\"b\"\n", {"a", "b"}},
        {"carriage return alone", "\"a\",\"b\"\r", {"a", "b"}},
        {"no break at the end of the file", "\"a\",\"b\"", {"a", "b"}},
        {"file ends inside quotes on the same line", "\"a\",\"b", {"a", "b"}},
    };
    for (const Case& c : cases) {
        const Records got = records(c.line, 5);
        ASSERT_EQ(got.size(), 1u) << c.name;
        EXPECT_EQ(got[0], c.values) << c.name;
    }
}

TEST_F(LineReaderTest, BlankLinesAndTheLastLineBreakAddNoRecord) {
    const Records got =
        records("\"1\",\"a\"\r\n\r\n\"2\",\"b\"\r\n\n\"\"\r\n\"\",\r\n\"\",\"c\"\r\n", 2);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0], (std::vector<std::string>{"1", "a"}));
    EXPECT_EQ(got[1], (std::vector<std::string>{"2", "b"}));
    EXPECT_EQ(got[2], (std::vector<std::string>{"", "c"}));  // empty first field, more follows
}

TEST_F(LineReaderTest, ExtraFieldsAreDroppedNotCarriedIntoTheNextRecord) {
    const Records got = records("\"1\",\"a\",\"extra\",\"more\"\r\n\"2\",\"b\"\r\n\"3\"\r\n", 2);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0], (std::vector<std::string>{"1", "a"}));
    EXPECT_EQ(got[1], (std::vector<std::string>{"2", "b"}));
    EXPECT_EQ(got[2], (std::vector<std::string>{"3"}));  // short line: fewer values
}

TEST_F(LineReaderTest, FirstLineLimitsAre35FieldsAnd255Characters) {
    EXPECT_EQ(firstLine(quotedLine(35)).check, FirstLineCheck::Passed);
    EXPECT_EQ(firstLine(quotedLine(35)).names.size(), 35u);
    EXPECT_EQ(firstLine(quotedLine(36)).check, FirstLineCheck::TooManyFields);
    EXPECT_EQ(firstLine(quotedLine(2, std::string(255, 'v'))).check, FirstLineCheck::Passed);
    EXPECT_EQ(firstLine(quotedLine(2, std::string(256, 'v'))).check, FirstLineCheck::ValueTooLong);
    // Characters, not bytes: 255 two-byte letters pass.
    std::string umlauts;
    for (int i = 0; i < 255; ++i) umlauts += "\xC3\xB6";
    EXPECT_EQ(firstLine(quotedLine(1, umlauts)).check, FirstLineCheck::Passed);
    EXPECT_EQ(firstLine(quotedLine(1, umlauts + "\xC3\xB6")).check, FirstLineCheck::ValueTooLong);
}

TEST_F(LineReaderTest, FirstLineMustEndInAClosedField) {
    EXPECT_EQ(firstLine("\"a\",\"b\r\n\"c\"\r\n").check, FirstLineCheck::UnclosedField);
    EXPECT_EQ(firstLine("\"a\",b\r\n").check, FirstLineCheck::UnclosedField);
    EXPECT_EQ(firstLine("").check, FirstLineCheck::UnclosedField);
    EXPECT_EQ(firstLine("\"a\",\"b\",\r\n").check, FirstLineCheck::Passed);
    EXPECT_EQ(firstLine("\"a\",\"b\"").check, FirstLineCheck::Passed);
}

TEST_F(LineReaderTest, FirstLineNamesAreCutAndBlankOnesNamed) {
    const FirstLine line = firstLine("\"Alpha Catalog\",\"\",\"A name longer than twenty\"\r\n");
    EXPECT_EQ(line.names,
              (std::vector<std::string>{"Alpha Catalog", "<BLANK FIELD>", "A name longer than t"}));
}

TEST_F(LineReaderTest, ValuesAfterTheFirstLineAreCutTo255Characters) {
    std::string umlauts;
    for (int i = 0; i < 300; ++i) umlauts += "\xC3\xB6";
    const Records got = records("\"" + umlauts + "\",\"b\"\r\n", 2);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0][0], umlauts.substr(0, 510));
    EXPECT_EQ(got[0][1], "b");
}

TEST_F(LineReaderTest, Utf8AndWindows1252SourcesBothGiveUtf8) {
    // Byte-order mark, plain UTF-8, and Windows-1252 (not valid UTF-8).
    const std::string bom = "\xEF\xBB\xBF\"\xC3\x96sterreich\",\"\xE2\x82\xAC\"\r\n";
    const std::string utf8 = "\"\xC3\x96sterreich\",\"\xE2\x82\xAC\"\r\n";
    const std::string cp1252 = "\"\xD6sterreich\",\"\x80\"\r\n";
    for (const std::string& bytes : {bom, utf8, cp1252}) {
        const Records got = records(bytes, 2);
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0], (std::vector<std::string>{"\xC3\x96sterreich", "\xE2\x82\xAC"}));
    }
    EXPECT_EQ(detectTextEncoding(scratch_.write("e.txt", cp1252)), TextEncoding::Cp1252);
    EXPECT_EQ(detectTextEncoding(scratch_.write("e.txt", utf8)), TextEncoding::Utf8);
    // Valid UTF-8 up to a block boundary and a Windows-1252 byte later still reads as 1252.
    std::string late(3 << 20, 'a');
    late[(1 << 20) - 1] = '\xC3';
    late[1 << 20] = '\xB6';
    late += "\xE9";
    EXPECT_EQ(detectTextEncoding(scratch_.write("late.txt", late)), TextEncoding::Cp1252);
}

TEST_F(LineReaderTest, AFileWrittenAgainIsExaminedAgain) {
    // The encoding of a file is remembered while the file stays as it was; a file changed since
    // (here to the same size, one letter now in Windows-1252) is read through again.
    const std::string path = scratch_.write("again.txt", "\"Espa\xC3\xB1" "a\"\r\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    EXPECT_EQ(detectTextEncoding(path), TextEncoding::Utf8);
    EXPECT_EQ(detectTextEncoding(path), TextEncoding::Utf8);
    scratch_.write("again.txt", "\"Espa\xF1" "a.\"\r\n");
    EXPECT_EQ(detectTextEncoding(path), TextEncoding::Cp1252);
}

TEST_F(LineReaderTest, AMissingSourceIsATransferError) {
    EXPECT_THROW(DelimitedLineReader(scratch_.file("nothing.txt")), TransferError);
}

}  // namespace
}  // namespace interchange::testing
