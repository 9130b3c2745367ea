#include "engine/expression.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/error.h"

namespace engine {
namespace {

// A table shaped like the stamp table's sort fields, with records built from
// field texts already in the table's code page.
class Layout {
  public:
    Layout() {
        add("COUNTRY", FieldType::Character, 20);
        add("YEAR", FieldType::Numeric, 11);
        add("DESCRIPTIO", FieldType::Character, 110);
        add("DATE", FieldType::Date, 8);
        add("COST", FieldType::Numeric, 20, 4);
        add("CATALOG", FieldType::Character, 12);
        add("RATE", FieldType::Float, 10, 2);
        add("USED", FieldType::Logical, 1);
    }

    const std::vector<FieldInfo>& fields() const { return fields_; }

    // A blank record with `values` (field name -> text) written into it,
    // C values left-justified and others right-justified.
    std::string record(const std::vector<std::pair<std::string, std::string>>& values) const {
        std::string r(static_cast<std::size_t>(size_), ' ');
        for (const auto& [name, text] : values) {
            for (const FieldInfo& f : fields_) {
                if (f.name != name) continue;
                std::size_t at = static_cast<std::size_t>(f.offset);
                if (f.type != FieldType::Character) at += f.length - text.size();
                r.replace(at, text.size(), text);
            }
        }
        return r;
    }

    std::string key(const std::string& expression,
                    const std::vector<std::pair<std::string, std::string>>& values) const {
        KeyExpression e = KeyExpression::compile(expression, fields_, CodePage::Cp1252);
        std::string r = record(values);
        std::string viaString = e.evaluate(r.data());
        std::string viaBuffer(static_cast<std::size_t>(e.keyLength()), '#');
        e.evaluate(r.data(), viaBuffer.data());
        EXPECT_EQ(viaString, viaBuffer);
        return viaString;
    }

  private:
    void add(const char* name, FieldType type, int length, int decimals = 0) {
        fields_.push_back(FieldInfo{name, type, static_cast<char>(type), length, decimals, size_});
        size_ += length;
    }

    std::vector<FieldInfo> fields_;
    int size_ = 1;  // deletion flag
};

TEST(KeyExpression, KeyLengthsOfTheSortOrderScheme) {
    struct Case {
        const char* expression;
        int length;
    };
    const Case cases[] = {
        {"Upper(Left(Country,80))", 20},
        {"Upper(Left(Country,26))+STR(Year,12,0)+Upper(Left(Descriptio,26))", 58},
        {"DTOS(Date)+STR(Cost,12,2)", 20},
        {"Upper(Left(Catalog,80))", 12},
        {"Upper(Left(Country,20))+STR(Year,12,0)+DTOS(Date)+Upper(Left(Descriptio,20))", 60},
        {"STR(Cost)", 10},
        {"STR(Rate,8)", 8},
        {"LEFT(Country + Catalog, 25)", 25},
        {"LEFT(STR(Year,12,0),5)", 5},
        {"Left(Descriptio,100)", 100},
    };
    Layout t;
    for (const Case& c : cases) {
        EXPECT_EQ(KeyExpression::compile(c.expression, t.fields(), CodePage::Cp1252).keyLength(),
                  c.length)
            << c.expression;
    }
}

TEST(KeyExpression, BuildsKeyBytes) {
    Layout t;
    EXPECT_EQ(t.key("Upper(Left(Country,26))+STR(Year,12,0)+DTOS(Date)",
                    {{"COUNTRY", "\xD6sterreich"}, {"YEAR", "1998"}}),
              "\xD6STERREICH          "
              "        1998"
              "        ");
    EXPECT_EQ(t.key("DTOS(Date)+STR(Cost,12,2)", {{"DATE", "19980704"}, {"COST", "2.6750"}}),
              "19980704        2.68");
    EXPECT_EQ(t.key("DTOS(Date)+STR(Cost,12,2)", {{"DATE", "00000000"}, {"COST", "-5.0000"}}),
              "               -5.00");
    EXPECT_EQ(t.key("Upper(Left(Country,26))+STR(Year,12,0)+Upper(Left(Descriptio,26))",
                    {{"COUNTRY", "\xE9tats-unis \x9C"}, {"DESCRIPTIO", "Jenny \xFF"}}),
              "\xC9TATS-UNIS \x8C        "
              "           0"
              "JENNY \x9F                   ");
    // Character fields are copied raw; only UPPER changes case.
    EXPECT_EQ(t.key("catalog", {{"CATALOG", "Sc 12a"}}), "Sc 12a      ");
    EXPECT_EQ(t.key("LEFT(Upper(Country)+Catalog, 22)", {{"COUNTRY", "x"}, {"CATALOG", "ab"}}),
              "X                   ab");
    EXPECT_EQ(t.key("STR(Year)", {{"YEAR", "12345678901"}}), "**********");
    EXPECT_EQ(t.key("STR(Rate,6,3)", {{"RATE", "10.77"}}), "10.770");
}

TEST(KeyExpression, NamesAndBlanksAreFree) {
    Layout t;
    const char* spellings[] = {
        "Upper(Left(Country,26))",
        "UPPER(LEFT(COUNTRY,26))",
        "upper ( left ( country , 26 ) )",
        " ( Upper(Left(Country,26)) ) ",
    };
    for (const char* s : spellings) {
        EXPECT_EQ(t.key(s, {{"COUNTRY", "Peru"}}), "PERU                ") << s;
    }
}

TEST(KeyExpression, BareFieldIsReported) {
    Layout t;
    EXPECT_EQ(KeyExpression::compile("country", t.fields(), CodePage::Cp1252).bareField(), 0);
    EXPECT_EQ(KeyExpression::compile(" Catalog ", t.fields(), CodePage::Cp1252).bareField(), 5);
    EXPECT_EQ(KeyExpression::compile("Upper(Country)", t.fields(), CodePage::Cp1252).bareField(),
              std::nullopt);
    EXPECT_EQ(KeyExpression::compile("Country+Catalog", t.fields(), CodePage::Cp1252).bareField(),
              std::nullopt);
}

TEST(KeyExpression, CopiesShareTheCompiledForm) {
    Layout t;
    KeyExpression a = KeyExpression::compile("Upper(Country)", t.fields(), CodePage::Cp1252);
    KeyExpression b = a;
    KeyExpression c = std::move(a);
    b = c;
    std::string r = t.record({{"COUNTRY", "chile"}});
    EXPECT_EQ(b.evaluate(r.data()), "CHILE               ");
    EXPECT_EQ(b.text(), "Upper(Country)");
}

TEST(KeyExpression, RefusesWhatItCannotIndex) {
    struct Case {
        std::string expression;
        const char* reason;
    };
    const Case cases[] = {
        {"FOO(Country)", "unknown function FOO"},
        {"Upper(Left(Nation,26))", "unknown field Nation"},
        {"Year", "YEAR is a numeric field; use STR()"},
        {"Date", "DATE is a date field"},
        {"Used", "USED is a logical field"},
        {"LEFT(Year,5)", "LEFT needs character text, but YEAR is a numeric field"},
        {"Upper(Cost)", "UPPER needs character text"},
        {"STR(Country,12,0)", "STR needs a numeric field, but COUNTRY is a character field"},
        {"STR(Upper(Country))", "STR needs a numeric field"},
        {"DTOS(Country)", "DTOS needs a date field"},
        {"Country+Year", "'+' joins character text only, but YEAR is a numeric field"},
        {"Upper(Left(Country,26)", "missing ')'"},
        {"Upper(Left(Country 26))", "expected ',' but found '2'"},
        {"Left(Country)", "expected ',' but found ')'"},
        {"Left(Country,)", "the LEFT length must be a whole number"},
        {"Left(Country,0)", "the LEFT length must be at least 1"},
        {"Left(Country,-3)", "the LEFT length must be at least 1"},
        {"STR(Year,0)", "the STR length must be between 1 and 20"},
        {"STR(Year,21)", "the STR length must be between 1 and 20"},
        {"STR(Year,12,13)", "the STR decimals must be between 0 and the length"},
        {"STR(Year,12,-1)", "the STR decimals must be between 0 and the length"},
        {"STR(Year,12,2,1)", "too many arguments for STR"},
        {"Upper(Country,3)", "too many arguments for UPPER"},
        {"Country Catalog", "unexpected 'C' at position 9"},
        {"Country+", "unexpected end of expression"},
        {"Country*2", "unexpected '*'"},
        {"", "the expression is empty"},
        {"   ", "the expression is empty"},
        {"Descriptio+Catalog", "the key would be 122 bytes long, at most 100"},
        {"Country+" + std::string(220, ' '), "longer than 220 characters"},
    };
    Layout t;
    for (const Case& c : cases) {
        try {
            KeyExpression::compile(c.expression, t.fields(), CodePage::Cp1252);
            ADD_FAILURE() << "accepted " << c.expression;
        } catch (const EngineError& e) {
            std::string expected = "Unsupported index expression \"" + c.expression + "\": ";
            EXPECT_THAT(e.what(), testing::StartsWith(expected));
            EXPECT_THAT(e.what(), testing::HasSubstr(c.reason)) << c.expression;
        }
    }
}

}  // namespace
}  // namespace engine
