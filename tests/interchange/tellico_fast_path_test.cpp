// The entry scanner and QXmlStreamReader read the same entries the same way: every value of
// entries the scanner takes, and for entries it must refuse, the XML reader's values; on damaged
// files, the same entries before the same message (line and column included).
#include <gtest/gtest.h>

#include <QString>
#include <random>
#include <string>
#include <vector>

#include "engine/table.h"
#include "interchange/tellico_reader.h"
#include "interchange/tellico_run.h"
#include "interchange/transfer_error.h"
#include "interchange_test_support.h"

namespace interchange::testing {
namespace {

using tellico::TellicoReader;

std::string document(const std::string& entries, const std::string& after = "") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE tellico PUBLIC '-//Robby Stephenson/DTD Tellico V11.0//EN' "
           "'http://periapsis.org/tellico/dtd/v11/tellico.dtd'>\n"
           "<tellico xmlns=\"http://periapsis.org/tellico/\" syntaxVersion=\"11\">\n"
           " <collection title=\"Mine\" type=\"9\">\n  <fields>\n"
           "   <field name=\"_default\"/>\n  </fields>\n" +
           entries + after + " </collection>\n</tellico>\n";
}

// What a reader makes of a file: each entry as "name=value|value;..." lines, then the message
// that ended it (empty when none), and how many entries the scanner read.
struct Reading {
    std::vector<std::string> entries;
    std::string error;
    std::uint64_t scanned = 0;
};

Reading readAll(const std::string& path, TellicoReader::Reading how) {
    Reading out;
    try {
        TellicoReader reader(path, how);
        tellico::Entry e;
        try {
            while (reader.nextEntry(e)) {
                std::string text;
                for (std::size_t i = 0; i < e.size(); ++i) {
                    text += std::string(e.name(i)) + "=";
                    for (std::size_t k = 0; k < e.count(i); ++k)
                        text += (k ? "|" : "") + std::string(e.value(i, k));
                    text += ";";
                }
                out.entries.push_back(text);
            }
        } catch (const TransferError& error) {
            out.error = error.what();
        }
        out.scanned = reader.scannedEntries();
    } catch (const TransferError& error) {
        out.error = error.what();
    }
    return out;
}

class TellicoFastPathTest : public ::testing::Test {
  protected:
    // Reads `xml` both ways: they agree; returns the scanner's reading.
    Reading both(const std::string& xml, bool sameMessage = true) {
        const std::string path = scratch_.write("c" + std::to_string(++files_) + ".xml", xml);
        const Reading xmlReader = readAll(path, TellicoReader::Reading::kXmlReaderOnly);
        const Reading scanner = readAll(path, TellicoReader::Reading::kScanEntries);
        EXPECT_EQ(xmlReader.scanned, 0u);
        if (!sameMessage) return scanner;
        EXPECT_EQ(scanner.entries, xmlReader.entries);
        EXPECT_EQ(scanner.error, xmlReader.error);
        return scanner;
    }
    Scratch scratch_;
    int files_ = 0;
};

const std::string kPlain =
    "  <entry id=\"1\">\n   <title>1840 Penny Black</title>\n   <country>Great Britain</country>\n"
    "   <years>\n    <year>1840</year>\n    <year>1841</year>\n   </years>\n"
    "   <pur_date>1999-05-06</pur_date>\n  </entry>\n";

TEST_F(TellicoFastPathTest, TheScannerReadsWhatTheXmlReaderReads) {
    const std::string entries =
        kPlain + kPlain +
        // references, letters outside ASCII (two and four bytes), line ends in a value
        "  <entry id=\"3\"><description>A &amp; B &lt;c&gt; &quot;q&quot; &apos;s&apos; "
        "&#65;&#x42;&#x1F600; \xC3\x96sterreich \xF0\x9D\x84\x9E ]] > </description>"
        "<comments>one\r\ntwo\rthree\nfour</comments></entry>\n"
        // dates with attributes, table rows, empty elements, attributes on fields, blanks
        "  <entry id='4' extra=\"x &amp; y\"><cdate calendar=\"gregorian\"><year>2026</year>"
        "<month>12</month><day>07</day></cdate><tables><table><column>a</column><column>b"
        "</column><column/></table><table><column>c</column></table></tables>"
        "<empty/><empty2></empty2><grade kind='x'>Fine</grade><title >  spaced  </title >"
        "<years><year/></years><images><image>a.png</image><image>b.png</image></images>"
        "<image>c.png</image></entry >\n"
        "  <entry id=\"5\"/>\n  <entry id=\"6\"></entry>\n" +
        // entries the scanner must refuse
        "  <entry id=\"7\"><!-- a note --><country>Chile</country></entry>\n"
        "  <entry id=\"8\"><country><![CDATA[<Peru>]]></country></entry>\n"
        "  <entry id=\"9\"><?pi x?><country>Bolivia</country></entry>\n"
        "  <entry id=\"10\"><country>&#00000065;</country></entry>\n" +
        kPlain +
        "  <entry id=\"11\">loose text<country>Ecuador</country></entry>\n"
        "  <entry id=\"12\"><t:country xmlns:t=\"urn:x\">Paraguay</t:country></entry>\n"
        "  <entry id=\"13\"><land\xC3\xA9>Uruguay</land\xC3\xA9><date><year>1</year>"
        "<month><b>2</b></month></date></entry>\n"
        "  <entry "
        "id=\"14\"><a><as><a>deep</a></as></a><bs><b><bs><b>x</b></bs></b></bs></entry>\n" +
        kPlain;
    const Reading r = both(document(entries));
    EXPECT_EQ(r.error, "");
    ASSERT_EQ(r.entries.size(), 16u);
    // The first entry is the XML reader's; 7 to 14 are refused.
    EXPECT_EQ(r.scanned, 16u - 1 - 8);
    EXPECT_EQ(r.entries[2].substr(0, 90),
              "description=A & B <c> \"q\" 's' AB\xF0\x9F\x98\x80 \xC3\x96sterreich "
              "\xF0\x9D\x84\x9E ]] > ;comments=one\ntwo\nthree\nfour;");
    EXPECT_NE(r.entries[3].find("cdate=2026-12-07;table=a::b::|c;"), std::string::npos)
        << r.entries[3];
    EXPECT_NE(r.entries[7].find("country=<Peru>"), std::string::npos);
}

TEST_F(TellicoFastPathTest, FilesWrittenOtherwiseReadTheSame) {
    // All on one line, with CR LF line ends, and in another encoding (read by the XML reader).
    std::string oneLine = document(kPlain + kPlain + kPlain);
    for (char& c : oneLine)
        if (c == '\n') c = ' ';
    EXPECT_EQ(both(oneLine).entries.size(), 3u);
    std::string crlf;
    for (char c : document(kPlain + kPlain + kPlain))
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(both(crlf).scanned, 2u);
    std::string latin1 = document(kPlain + kPlain +
                                  "<entry><country>Espa\xF1"
                                  "a</country></entry>");
    latin1.replace(latin1.find("UTF-8"), 5, "ISO-8859-1");
    const Reading r = both(latin1);
    EXPECT_EQ(r.scanned, 0u);
    ASSERT_EQ(r.entries.size(), 3u);
    EXPECT_EQ(r.entries[2],
              "country=Espa\xC3\xB1"
              "a;");
}

// Damage after entries the scanner read: the XML reader says what is wrong, where, as it says it
// when it reads everything.
TEST_F(TellicoFastPathTest, DamageIsReportedAtTheSamePlace) {
    const std::string good = kPlain + kPlain + kPlain;
    const std::vector<std::string> damaged = {
        "  <entry id=\"4\"><country>Sec</entry>\n",
        "  <entry id=\"4\"><country>Bad \x01 byte</country></entry>\n",
        "  <entry id=\"4\"><country>Text &#0; </country></entry>\n",
        "  <entry id=\"4\"><country>Fish &chips;</country></entry>\n",
        "  <entry id=\"4\"><country>x ]]> y</country></entry>\n",
        "  <entry id=\"4\"><country>Caf\xC3\xA9 \xC3\x96 \xF0\x9F\x98\x80 <b></country></entry>\n",
        "  <entry id=\"4\"><country a=\"1\" a=\"2\">x</country></entry>\n",
        "  <entry id=\"4\"><country>x</country>\n  <stray>\n",
        "  <entry id=\"4\"><country>x</country></entry>\n <other/>\n <entry/>\n"
        "  <entry id=\"5\"><!-- -- --></entry>\n",
    };
    for (const std::string& bad : damaged) {
        const Reading r = both(document(good + bad + good));
        EXPECT_GE(r.entries.size(), 3u) << bad;
        EXPECT_GE(r.scanned, 2u) << bad;
    }
    // On one line after entries holding characters of two UTF-16 units: the column counts them.
    std::string oneLine = document(good + "<entry><country>\xF0\x9F\x98\x80 \xC3\xA9</country></entry>" +
                                   good + damaged[0] + good);
    for (char& c : oneLine)
        if (c == '\n') c = ' ';
    EXPECT_NE(both(oneLine).error.find("(line 1, column "), std::string::npos);
    // Bytes that are no UTF-8: the XML reader finds them as it decodes what it is given, so the
    // scanner, giving it less at a time, keeps more entries before them.
    const Reading r =
        both(document(good + "  <entry><country>\xC3\x28</country></entry>\n"), false);
    EXPECT_NE(r.error.find("incorrectly encoded content"), std::string::npos) << r.error;
    EXPECT_EQ(r.entries.size(), 3u);
    // Cut off inside an entry, and between entries.
    const std::string whole = document(good + good);
    for (std::size_t cut : {whole.size() / 2, whole.find("</entry>", whole.size() / 2) + 8})
        EXPECT_NE(both(whole.substr(0, cut)).error.find("is not well-formed XML"),
                  std::string::npos);
}

// Entries put together at random from the pieces the scanner must take or refuse, whole and with
// damage at random places: both ways read the same values and stop with the same message.
TEST_F(TellicoFastPathTest, RandomEntriesAndDamageReadTheSame) {
    std::mt19937 random(2024);
    const auto pick = [&](const std::vector<std::string>& from) {
        return from[random() % from.size()];
    };
    const std::vector<std::string> texts = {"plain",
                                            "",
                                            " ",
                                            "A &amp; B",
                                            "&lt;br/&gt;",
                                            "&#233;t&#xE9;",
                                            "caf\xC3\xA9",
                                            "\xF0\x9F\x93\xAE",
                                            "two\r\nlines",
                                            "cr\ronly",
                                            "tab\there",
                                            "]]",
                                            "a]>b",
                                            "&quot;&apos;",
                                            "\xE2\x82\xAC 12,50",
                                            "1999-05-06",
                                            "x<!-- note -->y",
                                            "<![CDATA[<raw> & ]]>",
                                            "&#x10FFFF;",
                                            "&#0065;",
                                            "\xC2\xA0"};
    const std::vector<std::string> attributes = {"", "x &amp; y", "'", "&#233;", "a>b", "\xC3\xA9"};
    const std::vector<std::string> names = {"title",    "country",  "year", "pur_price",
                                            "comments", "my-field", "f.2",  "_x"};
    const auto field = [&]() -> std::string {
        const std::string n = pick(names);
        switch (random() % 8) {
            case 0:
                return "<" + n + "/>";
            case 1:
                return "<" + n + "s><" + n + ">" + pick(texts) + "</" + n + "><" + n + ">" +
                       pick(texts) + "</" + n + "></" + n + "s>";
            case 2:
                return "<" + n + "><year>" + pick(texts) + "</year><month>1</month></" + n + ">";
            case 3:
                return "<" + n + "><column>" + pick(texts) + "</column><column/></" + n + ">";
            case 4:
                return "<" + n + " a='1' b=\"" + pick(attributes) + "\">" + pick(texts) + "</" + n +
                       " >";
            default:
                return "<" + n + ">" + pick(texts) + "</" + n + ">";
        }
    };
    std::string entries;
    for (int k = 0; k < 400; ++k) {
        entries += "  <entry id=\"" + std::to_string(k) + "\">";
        for (int f = int(random() % 6); f > 0; --f)
            entries += (random() % 3 ? "\n   " : random() % 2 ? "\r\n\t" : "") + field();
        entries += "\n  </entry>\n";
    }
    const std::string whole = document(entries);
    const Reading r = both(whole);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.entries.size(), 400u);
    EXPECT_GT(r.scanned, 200u);
    // Cut short, a byte put in, or a byte taken out, at random places after the header.
    const std::size_t start = whole.find("<entry");
    const std::string bytes[] = {"<", "&", ">", "\x01", "\xC3", "\"", "/", "]]>", "\n"};
    for (int round = 0; round < 60; ++round) {
        const std::size_t at = start + random() % (whole.size() - start);
        std::string damaged = whole;
        switch (round % 3) {
            case 0:
                damaged.resize(at);
                break;
            case 1:
                damaged.insert(at, bytes[random() % std::size(bytes)]);
                break;
            default:
                damaged.erase(at, 1);
                break;
        }
        // Bytes that are no UTF-8 are found by the XML reader where it decodes them: not
        // compared here.
        const QByteArray utf8(damaged.data(), qsizetype(damaged.size()));
        if (QString::fromUtf8(utf8).toUtf8() != utf8) continue;
        both(damaged);
    }
}

// The archive member is inflated on a thread of its own: damage found there ends the reading
// with the message about the damaged archive, after the entries before it.
TEST_F(TellicoFastPathTest, DamageFoundWhileInflatingEndsTheReadingAfterTheEntriesBefore) {
    if (!pythonHas("zipfile")) GTEST_SKIP() << "no Python zipfile";
    std::string entries;
    for (int k = 0; k < 40000; ++k)
        entries += "  <entry id=\"" + std::to_string(k) + "\"><country>" +
                   std::to_string(k * 7919 % 10007) + "</country></entry>\n";
    const std::string tc = scratch_.file("damaged.tc");
    // The member is deflated in two runs; the second starts with a block of a kind that does not
    // exist, so inflating stops there, with everything before it whole.
    const PythonResult p = runPython(R"(
import struct, sys, zlib
xml = open(sys.argv[2], 'rb').read()
half = len(xml) // 2
c = zlib.compressobj(6, zlib.DEFLATED, -15)
first = c.compress(xml[:half]) + c.flush(zlib.Z_FULL_FLUSH)
data = first + b'\xff' + (c.compress(xml[half:]) + c.flush())[1:]
name = b'tellico.xml'
crc = zlib.crc32(xml)
local = struct.pack('<IHHHHHIIIHH', 0x04034b50, 20, 0, 8, 0, 0, crc, len(data), len(xml),
                    len(name), 0) + name
central = struct.pack('<IHHHHHHIIIHHHHHII', 0x02014b50, 20, 20, 0, 8, 0, 0, crc, len(data),
                      len(xml), len(name), 0, 0, 0, 0, 0, 0) + name
end = struct.pack('<IHHHHIIH', 0x06054b50, 0, 0, 1, 1, len(central), len(local) + len(data), 0)
open(sys.argv[1], 'wb').write(local + data + central + end)
)",
                                     {tc, scratch_.write("damaged.xml", document(entries))});
    ASSERT_EQ(p.exitCode, 0) << p.output;
    const Reading xmlReader = readAll(tc, TellicoReader::Reading::kXmlReaderOnly);
    const Reading scanner = readAll(tc, TellicoReader::Reading::kScanEntries);
    EXPECT_EQ(scanner.error, "Cannot read tellico.xml in " + tc + ": the archive is damaged.");
    EXPECT_EQ(scanner.error, xmlReader.error);
    EXPECT_GT(scanner.entries.size(), 1000u);
    EXPECT_LT(scanner.entries.size(), 40000u);
    EXPECT_EQ(scanner.entries.size(), xmlReader.entries.size());
}

// Entries are read ahead on a thread of their own while records are posted: a run that stops
// early (a picture missing from the archive) stops it, and posts nothing read ahead.
TEST_F(TellicoFastPathTest, ARunStoppingEarlyStopsTheReadingAhead) {
    if (!pythonHas("zipfile")) GTEST_SKIP() << "no Python zipfile";
    std::string entries;
    for (int k = 0; k < 20000; ++k)
        entries += "  <entry id=\"" + std::to_string(k) + "\"><country>C" + std::to_string(k) +
                   "</country>" + (k == 9 ? "<image>gone.png</image>" : "") + "</entry>\n";
    const std::string tc = scratch_.file("early.tc");
    const PythonResult p = runPython(R"(
import zipfile, sys
with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:
    z.write(sys.argv[2], 'tellico.xml')
)",
                                     {tc, scratch_.write("early.xml", document(entries))});
    ASSERT_EQ(p.exitCode, 0) << p.output;
    const std::string dbf = scratch_.file("EARLY.DBF");
    makeCollection(dbf);
    engine::Table table;
    table.open(dbf, engine::OpenMode::Shared);
    const ImportResult r = importTellico(table, tc, {});
    EXPECT_EQ(r.added, 9u);
    EXPECT_NE(r.error.find("The picture gone.png is missing from"), std::string::npos) << r.error;
    EXPECT_EQ(rows(table).size(), 9u);
}

}  // namespace
}  // namespace interchange::testing
