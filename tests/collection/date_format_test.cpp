#include "collection/date_format.h"

#include <gtest/gtest.h>

namespace collection {
namespace {

TEST(DateFormatTest, AllTwelveTypesShowSeventhOfMarch1997) {
    struct Row {
        int type;
        const char* withZeros;
        const char* without;
    };
    const Row rows[] = {
        {1, "03/07/97", "3/7/97"},      {2, "03-07-97", "3-7-97"},
        {3, "03.07.97", "3.7.97"},      {4, "07/03/97", "7/3/97"},
        {5, "07-03-97", "7-3-97"},      {6, "07.03.97", "7.3.97"},
        {7, "03/07/1997", "3/7/1997"},  {8, "03-07-1997", "3-7-1997"},
        {9, "03.07.1997", "3.7.1997"},  {10, "07/03/1997", "7/3/1997"},
        {11, "07-03-1997", "7-3-1997"}, {12, "07.03.1997", "7.3.1997"},
    };
    const QDate date(1997, 3, 7);
    for (const Row& r : rows) {
        EXPECT_EQ(DateFormat({r.type, true}).format(date), QLatin1String(r.withZeros)) << r.type;
        EXPECT_EQ(DateFormat({r.type, false}).format(date), QLatin1String(r.without)) << r.type;
    }
    EXPECT_EQ(DateFormat({5, false}).format(QDate(2004, 11, 23)), QStringLiteral("23-11-04"));
    EXPECT_EQ(DateFormat{}.format(QDate()), QString());
}

TEST(DateFormatTest, PatternsAndCaptions) {
    EXPECT_EQ(dateFormatCaption(9), QStringLiteral("mm.dd.yyyy"));
    EXPECT_EQ(DateFormat({6, false}).pattern(), QStringLiteral("d.m.yy"));
    EXPECT_EQ(DateFormat({10, true}).qtPattern(), QStringLiteral("dd/MM/yyyy"));
    EXPECT_EQ(DateFormat({2, true}).separator(), QChar(u'-'));
}

TEST(DateFormatTest, CurrentFormatChangesOnlyForTypesOneToTwelve) {
    ASSERT_TRUE(applyDateFormat(4, true));
    EXPECT_EQ(currentDateFormat().format(QDate(1997, 3, 7)), QStringLiteral("07/03/97"));
    EXPECT_FALSE(applyDateFormat(0, false));
    EXPECT_FALSE(applyDateFormat(14, false));
    EXPECT_EQ(currentDateFormat(), (DateFormat{4, true}));
    ASSERT_TRUE(applyDateFormat(4, false));
    EXPECT_EQ(currentDateFormat().format(QDate(1997, 3, 7)), QStringLiteral("7/3/97"));
    applyDateFormat(1, false);
}

TEST(DateFormatTest, ParsingTypedText) {
    struct Row {
        int type;
        const char* text;
        QDate expected;  // invalid: not a date
    };
    const Row rows[] = {
        {4, "07/03/97", QDate(1997, 3, 7)},
        {4, "7/3/97", QDate(1997, 3, 7)},
        {4, " 7/ 3/97 ", QDate(1997, 3, 7)},  // masked entry leaves blanks
        {1, "3/7/1997", QDate(1997, 3, 7)},
        {7, "03/07/97", QDate(1997, 3, 7)},  // two-digit year in a four-digit type
        {12, "29.02.2000", QDate(2000, 2, 29)},
        {7, "13/45/1999", QDate()},
        {10, "29/02/1999", QDate()},
        {1, "3-7-97", QDate()},  // separator of another type
        {1, "3/7", QDate()},
        {1, "3/7/97/1", QDate()},
        {1, "  /  /  ", QDate()},
        {1, "a/7/97", QDate()},
        {1, "3/7/197", QDate()},
        {1, "3/7/0000", QDate()},
        {1, "003/7/97", QDate()},
        {1, "", QDate()},
    };
    for (const Row& r : rows) {
        const auto parsed = DateFormat({r.type, true}).parse(QLatin1String(r.text), 2025);
        if (r.expected.isValid()) {
            ASSERT_TRUE(parsed.has_value()) << r.text;
            EXPECT_EQ(*parsed, r.expected) << r.text;
        } else {
            EXPECT_FALSE(parsed.has_value()) << r.text;
        }
    }
}

TEST(DateFormatTest, TwoDigitYearsUseTheWindowAroundTheCurrentYear) {
    EXPECT_EQ(expandTwoDigitYear(44, 2025), 2044);
    EXPECT_EQ(expandTwoDigitYear(45, 2025), 1945);
    EXPECT_EQ(expandTwoDigitYear(97, 2025), 1997);
    EXPECT_EQ(expandTwoDigitYear(0, 2025), 2000);
    EXPECT_EQ(expandTwoDigitYear(9, 2090), 2109);
    EXPECT_EQ(expandTwoDigitYear(10, 2090), 2010);
    EXPECT_EQ(DateFormat({1, false}).parse(QStringLiteral("1/1/5"), 2025), QDate(2005, 1, 1));
}

TEST(DateFormatTest, EveryTypeReadsBackWhatItShows) {
    const QDate dates[] = {QDate(1997, 3, 7), QDate(2024, 12, 31), QDate(1950, 1, 1),
                           QDate(2000, 10, 9)};
    for (int type = 1; type <= kDateFormatTypeCount; ++type)
        for (bool zeros : {false, true})
            for (const QDate& d : dates) {
                const DateFormat f{type, zeros};
                EXPECT_EQ(f.parse(f.format(d), 2025), d)
                    << type << zeros << f.format(d).toStdString();
            }
}

}  // namespace
}  // namespace collection

namespace collection {
namespace {

TEST(DateFormatTest, NewInstallationsShowFourDigitYearsInTheLocalesOrder) {
    EXPECT_EQ(defaultDateFormatType(QLocale(QLocale::English, QLocale::UnitedStates)), 7);
    EXPECT_EQ(defaultDateFormatType(QLocale(QLocale::German, QLocale::Germany)), 10);
    EXPECT_EQ(defaultDateFormatType(QLocale(QLocale::English, QLocale::UnitedKingdom)), 10);
    EXPECT_EQ(defaultDateFormatType(QLocale(QLocale::Japanese, QLocale::Japan)), 7);  // y/M/d
    EXPECT_EQ(defaultDateFormatType(QLocale::c()), 7);
    EXPECT_TRUE(DateFormat{defaultDateFormatType(QLocale::system())}.fourDigitYear());
}

}  // namespace
}  // namespace collection

namespace collection {
namespace {

TEST(DateFormatTest, IsoDatesPutTheYearFirstWithLeadingZeros) {
    const DateFormat iso{kIsoDateType, false};
    EXPECT_EQ(dateFormatCaption(kIsoDateType), QStringLiteral("yyyy-mm-dd"));
    EXPECT_EQ(iso.qtPattern(), QStringLiteral("yyyy-MM-dd"));
    EXPECT_EQ(iso.format(QDate(1897, 3, 7)), QStringLiteral("1897-03-07"));
    EXPECT_EQ(iso.format(QDate(12, 11, 23)), QStringLiteral("0012-11-23"));
    EXPECT_EQ(iso.parse(QStringLiteral("1897-03-07"), 2025), QDate(1897, 3, 7));
    EXPECT_EQ(iso.parse(QStringLiteral("1897-3-7"), 2025), QDate(1897, 3, 7));
    EXPECT_EQ(iso.parse(QStringLiteral("97-03-07"), 2025), QDate(1997, 3, 7));
    EXPECT_EQ(iso.parse(QStringLiteral("2023-02-29"), 2025), std::nullopt);
    EXPECT_EQ(iso.parse(QStringLiteral("07-03-1997"), 2025), std::nullopt);
    EXPECT_EQ(iso.parse(QStringLiteral("    -  -  "), 2025), std::nullopt);
    EXPECT_TRUE(applyDateFormat(kIsoDateType, true));
    EXPECT_EQ(currentDateFormat().separator(), QChar(u'-'));
    applyDateFormat(1, false);
}

}  // namespace
}  // namespace collection
