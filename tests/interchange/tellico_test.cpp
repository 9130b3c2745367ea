// Tellico stamp collections in and out: a round trip of every field, Tellico's own value formats,
// the DTD Tellico ships, other collection types and damaged files.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QUrl>
#include <random>

#include "engine/table.h"
#include "interchange/store_pictures.h"
#include "interchange/tellico_fields.h"
#include "interchange/tellico_reader.h"
#include "interchange/tellico_run.h"
#include "interchange_test_support.h"
#include "pictures/picture_store.h"

namespace interchange::testing {
namespace {

const char* const kDtd = "/usr/share/tellico/tellico.dtd";

std::string tellicoXml(int type, const std::string& fields, const std::string& entries) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE tellico PUBLIC '-//Robby Stephenson/DTD Tellico V11.0//EN' "
           "'http://periapsis.org/tellico/dtd/v11/tellico.dtd'>\n"
           "<tellico xmlns=\"http://periapsis.org/tellico/\" syntaxVersion=\"11\">\n"
           " <collection title=\"Mine\" type=\"" +
           std::to_string(type) + "\">\n  <fields>\n" + fields + "  </fields>\n" + entries +
           " </collection>\n</tellico>\n";
}

// A small PNG of its own for each `k`.
QByteArray pictureBytes(int k) {
    QImage image(8 + k % 5, 6, QImage::Format_RGB32);
    image.fill(QColor(k * 6, 255 - k * 6, (k * 37) % 256));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

class TellicoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        makeCollection(collection_);
        table_.open(collection_, engine::OpenMode::Shared);
        options_.dateFormat = {1, false};  // two-digit years on screen
        options_.currentYear = 2026;
    }
    ImportResult import(const std::string& path) {
        return importTellico(table_, path, options_);
    }
    std::string field(const char* name) { return table_.text(table_.requireField(name)); }

    Scratch scratch_;
    std::string collection_ = scratch_.file("STAMPS.DBF");
    engine::Table table_;
    ImportOptions options_;
};

// A thousand stamps with every field filled or blank, dates back to the 1840s, large values and
// letters outside ASCII, out to a .tc file and into a new collection: field for field the same.
TEST_F(TellicoTest, EveryFieldComesBackFromARoundTrip) {
    std::mt19937 random(7);
    const std::vector<std::string> words = {"Penny Black", "Basel Dove", "Österreich",
                                            "Côte d'Ivoire", "Merkur ½", "A & B <c>", "\"Q\""};
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    for (int i = 0; i < 1000; ++i) {
        table_.append();
        for (int f = 0; f < 25; ++f) {
            if (pick(5) == 0) continue;  // blank
            const engine::FieldInfo& info = table_.fields()[std::size_t(f)];
            if (info.type == engine::FieldType::Date) {
                table_.setDate(f, {1840 + pick(186), 1 + pick(12), 1 + pick(28)});
            } else if (info.type == engine::FieldType::Character) {
                std::string v = words[std::size_t(pick(int(words.size())))] + " " +
                                std::to_string(i);
                if (f == 8 && pick(2)) v = pick(2) ? "XF" : "VF";  // grades Tellico spells out
                if (f == 11 && pick(3) == 0) v = "Uncancelled";
                if (f == 0 && pick(3) == 0) v = std::to_string(i);  // a whole Scott number
                table_.setText(f, v.substr(0, std::size_t(info.length)));
            } else {
                const bool money = info.decimals > 0;
                table_.setText(f, money ? std::to_string(pick(2000000)) + "." +
                                              std::to_string(10 + pick(90))
                                        : std::to_string(pick(9999)));
            }
        }
        table_.post();
    }
    // Stamp i has i % 4 pictures, drawn from forty (so some are shared between stamps).
    const QString collection = QString::fromStdString(collection_);
    pictures::PictureStore store(collection);
    std::vector<QString> pool;
    for (int k = 0; k < 40; ++k)
        pool.push_back(store.storeBytes(pictureBytes(k), QStringLiteral("p%1").arg(k)));
    std::vector<pictures::PictureStore::NewLink> links;
    for (std::uint32_t r = 1; r <= 1000; ++r)
        for (std::uint32_t k = 0; k < r % 4; ++k)
            links.push_back(
                {r, pool[(r * 7 + k) % 40], "p", pictures::fingerprintOf(table_.record(r))});
    store.linkAll(links);

    const std::vector<std::string> before = rows(table_);
    const std::string tc = scratch_.file("out.tc");
    ExportRequest request;
    request.dateFormat = options_.dateFormat;
    StoreExportPictures outPictures(collection, QString::fromStdString(tc), ExportKind::Tellico);
    request.pictures = &outPictures;
    const ExportResult out = exportTellico(table_, tc, request, "Mine");
    ASSERT_EQ(out.error, "");
    EXPECT_EQ(out.written, 1000u);

    const std::string copy = scratch_.file("COPY.DBF");
    makeCollection(copy);
    engine::Table target;
    target.open(copy, engine::OpenMode::Shared);
    StoreImportPictures inPictures(QString::fromStdString(copy), QString::fromStdString(tc));
    options_.pictures = &inPictures;
    const ImportResult in = importTellico(target, tc, options_);
    EXPECT_EQ(in.error, "");
    EXPECT_EQ(in.added, 1000u);
    EXPECT_EQ(in.valuesCut, 0u);
    EXPECT_EQ(rows(target), before);
    // Picture for picture, byte for byte, in order.
    EXPECT_EQ(in.pictures.added, links.size());
    pictures::PictureStore back(QString::fromStdString(copy));
    for (std::uint32_t r = 1; r <= 1000; ++r) {
        const auto mine = store.pictures(r), theirs = back.pictures(r);
        ASSERT_EQ(theirs.size(), mine.size()) << r;
        for (std::size_t k = 0; k < mine.size(); ++k)
            EXPECT_EQ(readBytes(theirs[k].path.toStdString()),
                      readBytes(mine[k].path.toStdString()));
    }
    EXPECT_TRUE(back.checkLinks(target).empty());
}

TEST_F(TellicoTest, TheExportIsValidAgainstTellicosDtdLessOurOwnFields) {
    if (!QFile::exists(kDtd) || !pythonHas("zipfile")) GTEST_SKIP() << "no Tellico DTD";
    table_.append();
    table_.setText(table_.requireField("Descriptio"), "Penny Black");
    table_.setText(table_.requireField("Year"), "1840");
    table_.setText(table_.requireField("Cancellati"), "Maltese Cross");
    table_.setText(table_.requireField("Topic"), "Queens");
    table_.setText(table_.requireField("Condition"), "Mint");
    table_.setDate(table_.requireField("Date"), {1999, 5, 6});
    table_.post();
    // Two pictures: the main one in Tellico's image field, the second in one of ours.
    const QString collection = QString::fromStdString(collection_);
    pictures::PictureStore store(collection);
    store.linkAll({{1, store.storeBytes(pictureBytes(1), "a"), "a", {}},
                   {1, store.storeBytes(pictureBytes(2), "b"), "b", {}}});
    const std::string tc = scratch_.file("out.tc");
    StoreExportPictures outPictures(collection, QString::fromStdString(tc), ExportKind::Tellico);
    ExportRequest request;
    request.pictures = &outPictures;
    ASSERT_EQ(exportTellico(table_, tc, request, "Mine").error, "");
    std::string own = "picture-2";
    for (const tellico::FieldDef& f : tellico::ourOwnFields())
        own += (own.empty() ? "" : ",") + f.name.toStdString();
    const PythonResult p = runPython(R"(
import zipfile, re, sys, subprocess
xml = zipfile.ZipFile(sys.argv[1]).read('tellico.xml').decode('utf-8')
for name in sys.argv[2].split(','):
    xml = re.sub(r'\s*(<%s>[^<]*</%s>|<%s */>)' % (name, name, name), '', xml)
open(sys.argv[3], 'w', encoding='utf-8').write(xml)
r = subprocess.run(['xmllint', '--noout', '--dtdvalid', sys.argv[4], sys.argv[3]],
                   capture_output=True, text=True)
print(r.stderr)
print('has-topic' if '<topic>' in xml else 'clean')
sys.exit(r.returncode)
)",
                                     {tc, own, scratch_.file("stripped.xml"), kDtd});
    EXPECT_EQ(p.exitCode, 0) << p.output;
    EXPECT_NE(p.output.find("clean"), std::string::npos) << p.output;
    // Tellico's own stamp fields, in its order, then ours.
    tellico::TellicoReader reader(tc);
    EXPECT_EQ(reader.collectionType(), 9);
    ASSERT_GE(reader.fields().size(), 22u);
    EXPECT_EQ(reader.fields()[0].name, "title");
    EXPECT_EQ(reader.fields()[5].name, "year");
    EXPECT_EQ(reader.fields()[5].flags, 3);
    tellico::Entry entry;
    ASSERT_TRUE(reader.nextEntry(entry));
    EXPECT_EQ(entry.first("year"), "1840");
    EXPECT_EQ(entry.first("cancelled"), "true");
    EXPECT_EQ(entry.first("cancellation"), "Maltese Cross");
    EXPECT_EQ(entry.first("pur_date"), "1999-05-06");
    EXPECT_EQ(entry.first("title"), "1840 Penny Black");
    // Tellico keeps only its own grades: another condition goes in a field of its own.
    EXPECT_EQ(entry.first("grade"), "");
    EXPECT_EQ(entry.first("condition"), "Mint");
    EXPECT_FALSE(reader.nextEntry(entry));
}

// A file written by hand the way Tellico writes one: its value formats, its plural years, fields
// of its own that we lack, and its bookkeeping.
TEST_F(TellicoTest, TellicosOwnValuesLandInTheirFields) {
    const std::string fields =
        "   <field title=\"Title\" category=\"General\" type=\"1\" format=\"1\" name=\"title\" "
        "flags=\"40\"/>\n"
        "   <field title=\"Issue Year\" category=\"General\" type=\"6\" format=\"4\" name=\"year\" "
        "flags=\"3\"/>\n"
        "   <field title=\"Location\" category=\"Personal\" type=\"1\" format=\"0\" "
        "name=\"location\" flags=\"6\"/>\n"
        "   <field title=\"Centering\" category=\"Condition\" type=\"1\" format=\"4\" "
        "name=\"centering\" flags=\"6\"/>\n"
        "   <field title=\"Gift\" category=\"Personal\" type=\"4\" format=\"4\" name=\"gift\" "
        "flags=\"0\"/>\n";
    const std::string entries =
        "  <entry id=\"1\">\n   <title>1840 Penny Black 1</title>\n"
        "   <description>Penny Black</description>\n   <denomination>1</denomination>\n"
        "   <currency>d</currency>\n   <country>Great Britain</country>\n"
        "   <years>\n    <year>1840</year>\n    <year>1841</year>\n   </years>\n"
        "   <scott>1</scott>\n   <grade>Extremely Fine</grade>\n"
        "   <cancelled>true</cancelled>\n   <hinged>Mint Hinged</hinged>\n"
        "   <gummed>Original</gummed>\n   <centering>Well centred</centering>\n"
        "   <pur_date>1921-03-04</pur_date>\n   <pur_price>$12,345.50</pur_price>\n"
        "   <location>Album 2</location>\n   <gift>true</gift>\n"
        "   <comments>Line one&lt;br/&gt;Line two</comments>\n   <id>1</id>\n"
        "   <cdate calendar=\"gregorian\"><year>2026</year><month>12</month><day>07</day></cdate>\n"
        "  </entry>\n"
        "  <entry id=\"2\">\n   <description>" +
        std::string(130, 'x') + "</description>\n   <scott>12a</scott>\n"
        "   <pur_price>7,50 EUR</pur_price>\n  </entry>\n";
    const std::string path = scratch_.write("mine.xml", tellicoXml(9, fields, entries));
    const TellicoSource source = readTellicoSource(path);
    EXPECT_EQ(tellicoTypeRefusal(source), "");
    EXPECT_TRUE(source.plan.contains(QString::fromUtf8("Location \u2192 Miscellaneous (as \"Location: value\")")))
        << source.plan.join("\n").toStdString();
    EXPECT_TRUE(source.plan.contains("Title: Tellico's own bookkeeping, not kept"));
    const ImportResult r = import(path);
    EXPECT_EQ(r.error, "");
    ASSERT_EQ(r.added, 2u);
    EXPECT_EQ(r.valuesCut, 2u);  // "Mint Hinged" and the 130-character description
    table_.first();
    EXPECT_EQ(field("Descriptio"), "Penny Black");
    EXPECT_EQ(field("FaceValue"), "1 d");
    EXPECT_EQ(field("Year"), "1840");
    EXPECT_EQ(field("Catalog"), "1");
    EXPECT_EQ(field("CatalogI"), "1");
    EXPECT_EQ(field("Condition"), "XF");
    EXPECT_EQ(field("Cancellati"), "Cancelled");
    EXPECT_EQ(field("Hinged"), "Mint Hi");  // cut to the field's 7 characters
    EXPECT_EQ(field("Gum"), "Original");
    EXPECT_EQ(field("Date"), "19210304");
    EXPECT_EQ(field("Cost"), "12345.5000");
    EXPECT_EQ(field("Comments"), "Line one Line two");
    EXPECT_EQ(field("Miscellane"),
              "Issue Year: 1841; Centering: Well centred; Location: Album 2; Gift");
    table_.next();
    EXPECT_EQ(field("Descriptio"), std::string(110, 'x'));
    EXPECT_EQ(field("Catalog"), "12a");
    EXPECT_EQ(field("CatalogI"), "");
    EXPECT_EQ(field("Cost"), "7.5000");
}

TEST_F(TellicoTest, OtherCollectionTypesAreRefusedByName) {
    const std::string books = scratch_.write(
        "books.xml", tellicoXml(2, "", "  <entry id=\"1\"><title>Dune</title></entry>\n"));
    const std::string coins = scratch_.write("coins.xml", tellicoXml(8, "", ""));
    for (const auto& [path, name] : {std::pair{books, std::string("Book Collection")},
                                     std::pair{coins, std::string("Coin Collection")}}) {
        const ImportResult r = import(path);
        EXPECT_EQ(r.added, 0u);
        EXPECT_NE(r.error.find("holds a " + name), std::string::npos) << r.error;
        EXPECT_NE(tellicoTypeRefusal(readTellicoSource(path)).indexOf(name.c_str()), -1);
    }
    EXPECT_EQ(rows(table_).size(), 0u);
}

// Damaged files end with a message naming the problem; entries read before it stay.
TEST_F(TellicoTest, DamagedFilesSayWhatIsWrongAndKeepWhatWasRead) {
    const std::string entry = "  <entry id=\"1\"><description>First</description></entry>\n";
    const std::string broken = scratch_.write(
        "broken.xml", tellicoXml(9, "", entry + "  <entry id=\"2\"><description>Sec</entry>\n"));
    ImportResult r = import(broken);
    EXPECT_EQ(r.added, 1u);
    EXPECT_NE(r.error.find("is not well-formed XML (line"), std::string::npos) << r.error;

    const std::string notTellico = scratch_.write("other.xml", "<?xml version=\"1.0\"?><html/>");
    EXPECT_NE(import(notTellico).error.find("is no Tellico file"), std::string::npos);

    // A text of more than 64 MB in one piece is refused, not read into memory.
    const std::string huge = scratch_.write(
        "huge.xml", tellicoXml(9, "", entry + "  <entry id=\"2\"><description>" +
                                          std::string((64 << 20) + 16, 'y') +
                                          "</description></entry>\n"));
    r = import(huge);
    EXPECT_NE(r.error.find("more than 64 MB"), std::string::npos) << r.error.substr(0, 200);

    // Our own export, cut in half, and with a picture it names left out.
    table_.append();
    table_.setText(table_.requireField("Country"), "Chile");
    table_.post();
    const std::string tc = scratch_.file("good.tc");
    ASSERT_EQ(exportTellico(table_, tc, {}, "Mine").error, "");
    const std::string bytes = readBytes(tc);
    const std::string cut = scratch_.write("cut.tc", bytes.substr(0, bytes.size() / 2));
    EXPECT_NE(import(cut).error.find("damaged zip archive"), std::string::npos) << import(cut).error;
    if (pythonHas("zipfile")) {
        const std::string noImage = scratch_.file("noimage.tc");
        const PythonResult p = runPython(R"(
import zipfile, sys
with zipfile.ZipFile(sys.argv[1], 'w') as z:
    z.writestr('tellico.xml', sys.argv[2])
)",
                                         {noImage, tellicoXml(9, "", "  <entry id=\"1\"><image>abc.png</image></entry>\n")});
        ASSERT_EQ(p.exitCode, 0) << p.output;
        r = import(noImage);
        EXPECT_NE(r.error.find("The picture abc.png is missing from"), std::string::npos)
            << r.error;
    }
}

// The images of a Tellico file become the stamps' pictures: from the archive (a missing one ends
// the run, the stamps before it keeping theirs), or for an XML file from the files it links and
// the pictures it carries in base64.
TEST_F(TellicoTest, EntryImagesBecomeTheStampsPictures) {
    if (!pythonHas("zipfile")) GTEST_SKIP() << "no Python zipfile";
    const QByteArray one = pictureBytes(1), two = pictureBytes(2);
    scratch_.write("one.png", one.toStdString());
    const std::string entries =
        "  <entry id=\"1\"><description>A</description><image>one.png</image></entry>\n"
        "  <entry id=\"2\"><description>B</description><image>gone.png</image></entry>\n";
    const std::string zipped = scratch_.file("two.tc");
    const PythonResult p =
        runPython(R"(
import zipfile, sys
with zipfile.ZipFile(sys.argv[1], 'w') as z:
    z.writestr('tellico.xml', sys.argv[2])
    z.write(sys.argv[3], 'images/one.png')
)",
                  {zipped, tellicoXml(9, "", entries), scratch_.file("one.png")});
    ASSERT_EQ(p.exitCode, 0) << p.output;
    StoreImportPictures zipPictures(QString::fromStdString(collection_),
                                    QString::fromStdString(zipped));
    options_.pictures = &zipPictures;
    ImportResult r = import(zipped);
    EXPECT_EQ(r.added, 1u);
    EXPECT_NE(r.error.find("The picture gone.png is missing from"), std::string::npos) << r.error;
    pictures::PictureStore store(QString::fromStdString(collection_));
    ASSERT_EQ(store.count(1), 1);
    EXPECT_EQ(readBytes(store.pictures(1)[0].path.toStdString()), one.toStdString());

    // An XML file: a linked file (by path relative to it, and as a file URL), a picture in
    // base64 after the entries, and one that is nowhere, counted and named.
    const std::string xml =
        tellicoXml(9, "   <field name=\"image\" title=\"Image\" type=\"10\" />\n",
                   "  <entry id=\"1\"><description>C</description><image>one.png</image>"
                   "<image>" +
                       QUrl::fromLocalFile(QString::fromStdString(scratch_.file("one.png")))
                           .toString()
                           .toStdString() +
                       "</image></entry>\n"
                       "  <entry id=\"2\"><description>D</description><image>inside.png</image>"
                       "<image>nowhere.png</image></entry>\n"
                       "  <images><image id=\"inside.png\" format=\"PNG\">" +
                       two.toBase64().toStdString() + "</image></images>\n");
    const std::string plain = scratch_.write("plain.xml", xml);
    StoreImportPictures xmlPictures(QString::fromStdString(collection_),
                                    QString::fromStdString(plain));
    options_.pictures = &xmlPictures;
    r = import(plain);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.added, 2u);
    EXPECT_EQ(r.pictures.added, 2u);  // the same file twice is one picture of the stamp
    EXPECT_EQ(r.pictures.missingNames, std::vector<std::string>{"nowhere.png"});
    ASSERT_EQ(store.count(2), 1);
    ASSERT_EQ(store.count(3), 1);
    EXPECT_EQ(readBytes(store.pictures(3)[0].path.toStdString()), two.toStdString());
}

}  // namespace
}  // namespace interchange::testing
