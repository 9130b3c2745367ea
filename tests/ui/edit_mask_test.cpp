#include <gtest/gtest.h>

#include "ui/masked_edit.h"

namespace {

struct TranslationCase {
    const char* name;
    const char* mask;
    QChar dateSeparator;
    const char* qtMask;
    bool keepLiterals;
};

class EditMaskTranslation : public testing::TestWithParam<TranslationCase> {};

TEST_P(EditMaskTranslation, GivesQtMask) {
    const TranslationCase& c = GetParam();
    const ui::EditMask mask = ui::translateEditMask(QString::fromLatin1(c.mask), c.dateSeparator);
    EXPECT_EQ(mask.qtMask, QString::fromLatin1(c.qtMask));
    EXPECT_EQ(mask.keepLiterals, c.keepLiterals);
}

INSTANTIATE_TEST_SUITE_P(
    Masks, EditMaskTranslation,
    testing::Values(
        TranslationCase{"LongDate", "!99/99/9999;1;_", u'/', "00/00/0000;_", true},
        TranslationCase{"ShortDate", "!99/99/99;1;_", u'/', "00/00/00;_", true},
        TranslationCase{"DashedDate", "!99-99-9999;1;_", u'/', "00-00-0000;_", true},
        TranslationCase{"DateSeparatorInForce", "!99/99/9999;1;_", u'.', "00.00.0000;_", true},
        TranslationCase{"AnyCharacters", "ccccccccc;1", u'/', "xxxxxxxxx;_", true},
        TranslationCase{"EscapedOperator", "\\> 99/99/0000;1", u'/', "\\> 00/00/0000;_", true},
        TranslationCase{"LiteralNeedingEscape", "= ccc;1", u'/', "= xxx;_", true},
        TranslationCase{"QtMetaAsLiteral", "9x9;1", u'/', "0\\x0;_", true},
        TranslationCase{"LiteralsDropped", "99/99;0;*", u'/', "00/00;*", false},
        TranslationCase{"CaseSwitches", ">LL<>cc;1", u'/', ">aa!xx;_", true},
        TranslationCase{"NoMask", "", u'/', "", true}),
    [](const testing::TestParamInfo<TranslationCase>& info) { return info.param.name; });

struct RoundTripCase {
    const char* name;
    const char* mask;
    const char* typed;  // in the read-back form
};

class MaskedEditRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(MaskedEditRoundTrip, ReadsBackWhatWasSet) {
    const RoundTripCase& c = GetParam();
    ui::MaskedEdit edit;
    edit.setEditMask(QString::fromLatin1(c.mask));
    edit.setMaskedText(QString::fromLatin1(c.typed));
    EXPECT_EQ(edit.maskedText(), QString::fromLatin1(c.typed));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MaskedEditRoundTrip,
    testing::Values(RoundTripCase{"FullDate", "!99/99/9999;1;_", "12/31/1999"},
                    RoundTripCase{"EmptyDate", "!99/99/9999;1;_", "  /  /    "},
                    RoundTripCase{"PartlyFilledDate", "!99/99/9999;1;_", "1 /  /20  "},
                    RoundTripCase{"RequiredDigitsLeftBlank", "99/99/0000;1", "  /  /    "},
                    RoundTripCase{"ShortNumber", "ccccccccc;1", "12.5     "},
                    RoundTripCase{"OperatorPrefix", "\\> 99/99/0000;1", ">  1/ 2/2000"}),
    [](const testing::TestParamInfo<RoundTripCase>& info) { return info.param.name; });

TEST(MaskedEdit, UntouchedDateReadsAsSlashesAndBlanks) {
    ui::MaskedEdit edit;
    edit.setEditMask(QStringLiteral("!99/99/9999;1;_"));
    EXPECT_EQ(edit.displayText(), QStringLiteral("__/__/____"));
    EXPECT_EQ(edit.maskedText(), QStringLiteral("  /  /    "));
    EXPECT_EQ(edit.maskedText().trimmed(), QStringLiteral("/  /"));
    EXPECT_TRUE(edit.isBlank());
}

TEST(MaskedEdit, TypedDigitsFillPositionsAndSkipLiterals) {
    ui::MaskedEdit edit;
    edit.setEditMask(QStringLiteral("!99/99/9999;1;_"));
    edit.setFocus();
    edit.home(false);
    edit.insert(QStringLiteral("01022003"));
    EXPECT_EQ(edit.maskedText(), QStringLiteral("01/02/2003"));
    EXPECT_FALSE(edit.isBlank());
}

TEST(MaskedEdit, LiteralsDroppedWhenNotKept) {
    ui::MaskedEdit edit;
    edit.setEditMask(QStringLiteral("99/99;0"));
    edit.setMaskedText(QStringLiteral("1231"));
    EXPECT_EQ(edit.displayText(), QStringLiteral("12/31"));
    EXPECT_EQ(edit.maskedText(), QStringLiteral("1231"));
}

TEST(MaskedEdit, WithoutMaskIsAPlainEdit) {
    ui::MaskedEdit edit;
    edit.setEditMask(QStringLiteral("ccc;1"));
    edit.setEditMask(QString());
    edit.setMaskedText(QStringLiteral("free text"));
    EXPECT_EQ(edit.maskedText(), QStringLiteral("free text"));
    EXPECT_TRUE(edit.inputMask().isEmpty());
}

}  // namespace
