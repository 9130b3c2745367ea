// The UTF-8 text rules of Tellico values give what the same rule gives on a QString, for plain
// ASCII and for blanks, letters and digits outside it; and entries keep values in file order.
#include "interchange/tellico_text.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QRegularExpression>

#include "interchange/tellico_entry.h"
#include "interchange/tellico_fields.h"

namespace interchange::tellico {
namespace {

const std::vector<std::string> kSamples = {
    "",
    " ",
    "Penny Black",
    "  both ends \t",
    "\xC2\xA0no-break blanks\xC2\xA0",
    "\xE2\x80\x83"
    "em space at the start",
    "ends in an ideographic space\xE3\x80\x80",
    "\xC3\x96sterreich",
    "Line one<br/>Line two",
    "a\r\nb\nc\rd",
    " <br> padded <br /> ",
    "1999-05-06",
    " 1999-05-06 ",
    "1999/05/06",
    "1999-02-30",
    "0000-01-01",
    "1999-5-6",
    "2000-02-29", "1900-02-29", "2024-02-29", "2023-02-29", "1999-04-31", "1999-13-01", "1999-00-10", "1999-05-06T10:00",
    "1999-05-061",
    "12,50 EUR",
    "$1,234.50",
    "\xD9\xA1\xD9\xA2,\xD9\xA3",
    "-3",
    "--4",
    "1,234,567",
    "\xF0\x9D\x9F\x8E"
    "5",
    "no number",
    "123456789",
    "1234567890",
    "Extremely Fine",
    "extremely fine",
    "EXTREMELY FINE",
    "Extremely  Fine",
    "\xC3\x89xtremely",
};

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

TEST(TellicoText, RulesOnUtf8MatchTheSameRulesOnQString) {
    for (const std::string& s : kSamples) {
        std::string scratch;
        EXPECT_EQ(std::string(qtTrimmed(s, scratch)), q(s).trimmed().toStdString()) << s;

        std::string line = "x";
        appendOneLine(line, s);
        QString expected = q(s);
        if (expected.contains('<') || expected.contains('\n') || expected.contains('\r'))
            expected =
                expected.replace(QRegularExpression("<br */?>|\\r\\n|\\n|\\r"), " ").trimmed();
        EXPECT_EQ(line, "x" + expected.toStdString()) << s;

        int y = 0, m = 0, d = 0;
        const QDate date = QDate::fromString(q(s).trimmed(), Qt::ISODate);
        EXPECT_EQ(readIsoDate(s, y, m, d), date.isValid()) << s;
        if (date.isValid()) {
            EXPECT_EQ(QDate(y, m, d), date) << s;
        }

        EXPECT_EQ(equalsIgnoringCase(s, "Extremely Fine"),
                  q(s).compare(QLatin1String("Extremely Fine"), Qt::CaseInsensitive) == 0)
            << s;
    }
}

TEST(TellicoText, AmountsKeepTheirNumber) {
    EXPECT_EQ(amountText("$1,234.50"), "1234.50");
    EXPECT_EQ(amountText("12,50 EUR"), "12.50");
    EXPECT_EQ(amountText("1,234"), "1234");
    EXPECT_EQ(amountText("1.234,5"), "1234.5");
    EXPECT_EQ(amountText("-3 USD"), "-3");
    EXPECT_EQ(amountText("EUR"), "");
    EXPECT_EQ(amountText("-,."), "");
    // Arabic-Indic digits are digits, and two of them after a comma make it a decimal comma; a
    // digit outside the basic plane is left out.
    EXPECT_EQ(amountText("\xD9\xA1\xD9\xA2,\xD9\xA3\xD9\xA4"), "\xD9\xA1\xD9\xA2.\xD9\xA3\xD9\xA4");
    EXPECT_EQ(amountText("\xF0\x9D\x9F\x8E"
                         "5"),
              "5");
    EXPECT_TRUE(isWholeNumber("123456789"));
    EXPECT_FALSE(isWholeNumber("1234567890"));
    EXPECT_FALSE(isWholeNumber("12a"));
}

TEST(TellicoEntry, ValuesStayWithTheirFieldInFileOrder) {
    Entry e;
    for (int round = 0; round < 2; ++round) {  // a cleared entry is as good as new
        e.clear();
        e.add("year", "1840");
        e.add("description", "Penny Black");
        e.add("image", "a.png");
        e.add("year", "1841");
        e.add("image", "");
        e.add("image", "c.png");
        ASSERT_EQ(e.size(), 3u);
        EXPECT_EQ(e.name(0), "year");
        EXPECT_EQ(e.count(0), 2u);
        EXPECT_EQ(e.value(0, 1), "1841");
        EXPECT_EQ(e.count(2), 3u);
        EXPECT_EQ(e.value(2, 2), "c.png");
        EXPECT_EQ(e.first("description"), "Penny Black");
        EXPECT_EQ(e.first("country"), "");
        EXPECT_EQ(e.find("image"), 2);
    }
    // Many names: each keeps its own values whatever their hashes share.
    e.clear();
    for (int k = 0; k < 200; ++k) e.add("f" + std::to_string(k % 100), std::to_string(k));
    ASSERT_EQ(e.size(), 100u);
    for (int k = 0; k < 100; ++k) {
        EXPECT_EQ(e.count(std::size_t(k)), 2u);
        EXPECT_EQ(e.value(std::size_t(k), 1), std::to_string(k + 100));
    }
}

}  // namespace
}  // namespace interchange::tellico
