#include "engine/codepage.h"

#include <gtest/gtest.h>

#include <string>

#include "table_test_util.h"

namespace engine {
namespace {

struct DriverCase {
    std::uint8_t id;
    CodePage cp;
};

TEST(CodePage, LanguageDriverBytesNameTheirCodePage) {
    const DriverCase cases[] = {
        {0x57, CodePage::Cp1252}, {0x58, CodePage::Cp1252}, {0x59, CodePage::Cp1252},
        {0x03, CodePage::Cp1252}, {0x00, CodePage::Cp1252}, {0xCD, CodePage::Cp1252},
        {0x01, CodePage::Cp437},  {0x1B, CodePage::Cp437},  {0x0F, CodePage::Cp437},
        {0x02, CodePage::Cp850},  {0x37, CodePage::Cp850},  {0x1A, CodePage::Cp850},
        {0x64, CodePage::Cp852},  {0x65, CodePage::Cp866},  {0x26, CodePage::Cp866},
        {0xC8, CodePage::Cp1250}, {0xC9, CodePage::Cp1251}, {0xCA, CodePage::Cp1254},
        {0xCB, CodePage::Cp1253}, {0xCC, CodePage::Cp1257},
    };
    for (const DriverCase& c : cases) {
        EXPECT_EQ(codePageForLanguageDriver(c.id), c.cp) << "driver " << int(c.id);
    }
    EXPECT_EQ(languageDriverFor(CodePage::Cp1252), 0x57);
    for (CodePage cp :
         {CodePage::Cp1252, CodePage::Cp437, CodePage::Cp850, CodePage::Cp1250, CodePage::Cp1251,
          CodePage::Cp866, CodePage::Cp852, CodePage::Cp1253, CodePage::Cp1254, CodePage::Cp1257}) {
        EXPECT_EQ(codePageForLanguageDriver(languageDriverFor(cp)), cp);
    }
}

struct TextCase {
    CodePage cp;
    std::string bytes;  // in the code page
    std::string utf8;
};

TEST(CodePage, ConvertsBothWays) {
    const TextCase cases[] = {
        {CodePage::Cp1252, "\xD6sterreich", "Österreich"},
        {CodePage::Cp1252, "\x80 \x8C\x9C \x8A\x9E\x9F", "€ Œœ ŠžŸ"},
        {CodePage::Cp437, "\x99sterreich \x9B", "Österreich ¢"},
        {CodePage::Cp850, "\x99sterreich \xD5", "Österreich ı"},
        {CodePage::Cp852, "\xA4\xA5\x86", "Ąąć"},
        {CodePage::Cp1250, "\x8A\x9A\xA5\xB9", "ŠšĄą"},
        {CodePage::Cp1251, "\xCC\xEE\xF1\xEA\xE2\xE0", "Москва"},
        {CodePage::Cp866, "\x8C\xAE\xE1\xAA\xA2\xA0", "Москва"},
        {CodePage::Cp1253, "\xC5\xEB\xEB\xDC\xE4\xE1", "Ελλάδα"},
        {CodePage::Cp1254, "\xDEi\xFEli \xD0\xF0\xDDI", "Şişli ĞğİI"},
        {CodePage::Cp1257, "\xDBkis \xD0\xF0", "Ūkis Šš"},
        {CodePage::Cp1252, "plain ASCII 123", "plain ASCII 123"},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(toUtf8(c.bytes, c.cp), c.utf8) << c.utf8;
        EXPECT_EQ(fromUtf8(c.utf8, c.cp), c.bytes) << c.utf8;
    }
}

TEST(CodePage, EveryByteSurvivesARoundTrip) {
    for (CodePage cp :
         {CodePage::Cp1252, CodePage::Cp437, CodePage::Cp850, CodePage::Cp1250, CodePage::Cp1251,
          CodePage::Cp866, CodePage::Cp852, CodePage::Cp1253, CodePage::Cp1254, CodePage::Cp1257}) {
        std::string all;
        for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
        std::string utf8 = toUtf8(all, cp);
        EXPECT_EQ(utf8Length(utf8), all.size());
        EXPECT_EQ(fromUtf8(utf8, cp), all) << "code page " << int(cp);
    }
}

TEST(CodePage, MissingCharactersAndBadUtf8) {
    EXPECT_EQ(fromUtf8("€ Москва", CodePage::Cp437), "? ??????");
    EXPECT_EQ(fromUtf8("日本", CodePage::Cp1252), "??");
    EXPECT_EQ(fromUtf8("😀x", CodePage::Cp1252), "?x");
    // Bytes that are no UTF-8 are read as Windows-1252 and then converted.
    EXPECT_EQ(fromUtf8("\xD6sterreich", CodePage::Cp1252), "\xD6sterreich");
    EXPECT_EQ(fromUtf8("\xD6sterreich", CodePage::Cp850), "\x99sterreich");
    EXPECT_EQ(fromUtf8("a\xC3", CodePage::Cp1252), "a\xC3");                // cut sequence
    EXPECT_EQ(fromUtf8("\xC0\xAF", CodePage::Cp1252), "\xC0\xAF");          // overlong '/'
    EXPECT_EQ(fromUtf8("\xED\xA0\x80", CodePage::Cp1252), "\xED\xA0\x80");  // surrogate
}

TEST(CodePage, DecomposedLettersAreStoredComposed) {
    const TextCase cases[] = {
        {CodePage::Cp1252, "\xE1rbol", "a\u0301rbol"},
        {CodePage::Cp1252, "Cura\xE7" "ao", "Curac\u0327ao"},
        {CodePage::Cp1250, "\xC8" "esko \xA3\xF3" "d\x9F", "C\u030Cesko Ło\u0301dz\u0301"},
        {CodePage::Cp852, "\xA5\xA5", "a\u0328a\u0328"},
        {CodePage::Cp1251, "\xC9\xA8", "И\u0306Е\u0308"},
        {CodePage::Cp866, "\xA9", "и\u0306"},
        {CodePage::Cp437, "\xEA \x8F K", "\u2126 \u212B \u212A"},  // Ohm, Angstrom, Kelvin signs
        // Marks out of canonical order still compose; a second acute stays over.
        {CodePage::Cp1250, "\xB9?", "a\u0301\u0328"},
        {CodePage::Cp1252, "\xE1?", "a\u0301\u0301"},
        {CodePage::Cp1252, "?a", "\u0301a"},
    };
    for (const TextCase& c : cases) EXPECT_EQ(fromUtf8(c.utf8, c.cp), c.bytes) << c.utf8;
    // Cut at a capacity that ends right after the letter a mark belongs to.
    char out[3];
    EXPECT_EQ(fromUtf8Into("aba\u0301x", CodePage::Cp1252, out, 3), 3u);
    EXPECT_EQ(std::string(out, 3), "ab\xE1");
}

// Every letter of every code page, decomposed by Python's Unicode database,
// comes back as the code page's own byte.
TEST(CodePage, EveryDecomposedLetterOfEveryCodePageComposes) {
    if (!testing::pythonHasModule("unicodedata")) GTEST_SKIP() << "python3 missing";
    for (CodePage cp :
         {CodePage::Cp1252, CodePage::Cp437, CodePage::Cp850, CodePage::Cp1250, CodePage::Cp1251,
          CodePage::Cp866, CodePage::Cp852, CodePage::Cp1253, CodePage::Cp1254, CodePage::Cp1257}) {
        std::string all;
        for (int b = 0x20; b < 256; ++b) all += static_cast<char>(b);
        auto nfd = testing::runPython(
            "import os, sys, unicodedata\n"
            "text = os.fsencode(sys.argv[1]).decode('utf-8')\n"
            "sys.stdout.buffer.write(unicodedata.normalize('NFD', text).encode('utf-8'))\n",
            {toUtf8(all, cp)});
        ASSERT_EQ(nfd.exitCode, 0);
        EXPECT_NE(nfd.output, toUtf8(all, cp));
        EXPECT_EQ(fromUtf8(nfd.output, cp), all) << "code page " << int(cp);
        EXPECT_EQ(unencodableCharacters(nfd.output, cp), "");
    }
}

TEST(CodePage, UnencodableCharactersAreListedOnceInOrder) {
    EXPECT_EQ(unencodableCharacters("plain", CodePage::Cp1252), "");
    EXPECT_EQ(unencodableCharacters("", CodePage::Cp1252), "");
    EXPECT_EQ(unencodableCharacters("Österreich ?", CodePage::Cp1252), "");
    EXPECT_EQ(unencodableCharacters("Ελλάδα", CodePage::Cp1252), "Ελάδα");
    EXPECT_EQ(unencodableCharacters("日本, 日本", CodePage::Cp1252), "日本");
    EXPECT_EQ(unencodableCharacters("Łódź", CodePage::Cp1252), "Łź");
    EXPECT_EQ(unencodableCharacters("Łódź", CodePage::Cp1250), "");
    EXPECT_EQ(unencodableCharacters("Łódź", CodePage::Cp852), "");
    EXPECT_EQ(unencodableCharacters("C\u030Cesko", CodePage::Cp1252), "Č");
    EXPECT_EQ(unencodableCharacters("C\u030Cesko", CodePage::Cp1250), "");
    EXPECT_EQ(unencodableCharacters("Москва €", CodePage::Cp866), "€");
    // A mark that composes with nothing comes with the letter it sits on.
    EXPECT_EQ(unencodableCharacters("g\u0301, q\u0301", CodePage::Cp1252), "g\u0301q\u0301");
    EXPECT_EQ(unencodableCharacters("😀x😀", CodePage::Cp1252), "😀");
    // Bytes that are no UTF-8 are Windows-1252 bytes: "Ö" fits cp850, "€" does not.
    EXPECT_EQ(unencodableCharacters("\xD6sterreich \x80", CodePage::Cp850), "€");
}

// The conversion's own answer about missing characters agrees with unencodableCharacters() at
// every width, for characters before, at and past the width and marks across its edge.
TEST(CodePage, ConversionTellsWhetherCharactersAreMissing) {
    const char* const texts[] = {"plain",          "Österreich ?",  "Ελλάδα",
                                 "abcdefgh Ł",     "abcde\u0301fgh", "abg\u0301de",
                                 "C\u030Cesko",    "ab 😀",          "\xD6sterreich \x80",
                                 "a?b?Ω"};
    for (const CodePage cp : {CodePage::Cp1252, CodePage::Cp1250, CodePage::Cp866}) {
        for (const char* text : texts) {
            const bool expected = !unencodableCharacters(text, cp).empty();
            for (std::size_t width = 0; width <= 12; ++width) {
                char out[16];
                bool lacking = !expected;
                const std::size_t n = fromUtf8Into(text, cp, out, width, &lacking);
                EXPECT_EQ(lacking, expected) << text << " width " << width;
                char plain[16];
                EXPECT_EQ(std::string(out, n),
                          std::string(plain, fromUtf8Into(text, cp, plain, width)));
            }
        }
    }
}

TEST(CodePage, Utf8LengthCountsCharacters) {
    EXPECT_EQ(utf8Length(""), 0u);
    EXPECT_EQ(utf8Length("Österreich"), 10u);
    EXPECT_EQ(utf8Length("€😀"), 2u);
    EXPECT_EQ(utf8Length("a\xFF\xC3"), 3u);
}

TEST(CodePage, UpperCaseOfCp1252) {
    std::string lower = "abcxyz \xE0\xE9\xF6\xFE \xF7 \x9A\x9C\x9E\xFF \xDF\xB5 09";
    std::string upper = "ABCXYZ \xC0\xC9\xD6\xDE \xF7 \x8A\x8C\x8E\x9F \xDF\xB5 09";
    std::string s = lower;
    upperInPlace(s.data(), s.size(), CodePage::Cp1252);
    EXPECT_EQ(s, upper);
    for (int b = 0; b < 256; ++b) {
        unsigned char c = static_cast<unsigned char>(b);
        unsigned char u = upperByte(c, CodePage::Cp1252);
        bool letter = (b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7);
        if (letter) {
            EXPECT_EQ(u, b - 0x20) << b;
        } else if (b != 0x9A && b != 0x9C && b != 0x9E && b != 0xFF) {
            EXPECT_EQ(u, c) << b;
        }
    }
}

struct UpperCase {
    CodePage cp;
    std::string lower;
    std::string upper;
};

TEST(CodePage, UpperCaseOfOtherCodePages) {
    const UpperCase cases[] = {
        {CodePage::Cp437, "\x84\x94\x81\x82 \x85", "\x8E\x99\x9A\x90 \x85"},  // äöüé; à has no À
        {CodePage::Cp850, "\x84\x85\xA4", "\x8E\xB7\xA5"},                    // äàñ
        {CodePage::Cp852, "\xA5\x9F", "\xA4\xAC"},                            // ąč
        {CodePage::Cp1250, "\x9A\xB9\xFE", "\x8A\xA5\xDE"},                   // šąţ
        {CodePage::Cp1251, "\xEC\xEE\xB8", "\xCC\xCE\xA8"},                   // моё
        {CodePage::Cp866, "\xAC\xAE\xE1\xF1", "\x8C\x8E\x91\xF0"},            // мосё
        {CodePage::Cp1253, "\xE5\xEB\xDC\xE4 \xFE", "\xC5\xCB\xA2\xC4 \xBF"},  // ελάδ ώ
        {CodePage::Cp1254, "\xFE\xF0\xE7", "\xDE\xD0\xC7"},                    // şğç
        {CodePage::Cp1257, "\xFB\xF0\xE0", "\xDB\xD0\xC0"},                    // ūšą
    };
    for (const UpperCase& c : cases) {
        std::string s = c.lower;
        upperInPlace(s.data(), s.size(), c.cp);
        EXPECT_EQ(s, c.upper) << "code page " << int(c.cp);
        EXPECT_EQ(toUtf8(s, c.cp), toUtf8(c.upper, c.cp));
    }
}

}  // namespace
}  // namespace engine
