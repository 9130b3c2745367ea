#include "reports/pdf_file.h"

#include <QByteArray>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace reports {

namespace {

constexpr int kCatalog = 1, kPageTree = 2, kInfo = 3;
constexpr int kCompression = 1;  // the fastest: page contents are plain, repetitive text
constexpr double kPointsPerDot = 72.0 / kReferenceDpi;

// A number given in thousandths, as PDF writes it: no trailing zeros, a blank after it.
void thousandths(std::string& out, long long value) {
    if (value < 0) {
        out += '-';
        value = -value;
    }
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, value / 1000);
    out.append(buf, r.ptr);
    if (int fraction = static_cast<int>(value % 1000); fraction != 0) {
        char digits[4] = {'.', char('0' + fraction / 100), char('0' + fraction / 10 % 10),
                          char('0' + fraction % 10)};
        int length = 4;
        while (digits[length - 1] == '0') --length;
        out.append(digits, static_cast<std::size_t>(length));
    }
    out += ' ';
}

long long toThousandths(double value) {
    return std::llround(value * 1000);
}

// A number as PDF writes it: at most three decimals.
void number(std::string& out, double value) {
    thousandths(out, toThousandths(value));
}

// Two-byte glyph ids as a literal string, the bytes PDF reads specially escaped.
void glyphBytes(std::string& out, std::uint32_t glyph) {
    for (const char byte : {static_cast<char>(glyph >> 8), static_cast<char>(glyph & 0xff)}) {
        switch (byte) {
            case '(':
            case ')':
            case '\\':
                out += '\\';
                out += byte;
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += byte;
        }
    }
}

void hex4(std::string& out, unsigned value) {
    static const char kDigits[] = "0123456789ABCDEF";
    for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(value >> shift) & 15];
}

std::string objectRef(int number) {
    return std::to_string(number) + " 0 R";
}

// A PDF name made of the font's family and style.
std::string postScriptName(const QRawFont& raw) {
    std::string name;
    for (const QChar c : raw.familyName() + QLatin1Char('-') + raw.styleName())
        if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
            c == u'-')
            name += static_cast<char>(c.unicode());
    return name;
}

int get16(const QByteArray& table, int at) {
    if (at + 2 > table.size()) return 0;
    return static_cast<std::int16_t>((static_cast<unsigned char>(table[at]) << 8) |
                                     static_cast<unsigned char>(table[at + 1]));
}

void put32(QByteArray& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xff);
}
void put16(QByteArray& out, unsigned v) {
    out += static_cast<char>((v >> 8) & 0xff);
    out += static_cast<char>(v & 0xff);
}

// The font's TrueType file, put together again from the tables a PDF reader needs.
QByteArray trueTypeFile(const QRawFont& raw) {
    // In tag order, as the table directory requires.
    static const char* const kTags[] = {"OS/2", "cmap", "cvt ", "fpgm", "glyf", "head", "hhea",
                                        "hmtx", "loca", "maxp", "name", "post", "prep"};
    std::vector<std::pair<const char*, QByteArray>> tables;
    for (const char* tag : kTags) {
        QByteArray data = raw.fontTable(tag);
        if (!data.isEmpty()) tables.emplace_back(tag, std::move(data));
    }
    const unsigned n = static_cast<unsigned>(tables.size());
    unsigned power = 1, log = 0;
    while (power * 2 <= n) power *= 2, ++log;
    QByteArray file;
    put32(file, 0x00010000);
    put16(file, n);
    put16(file, power * 16);
    put16(file, log);
    put16(file, n * 16 - power * 16);
    std::uint32_t offset = 12 + 16 * n;
    for (auto& [tag, data] : tables) {
        const std::uint32_t length = static_cast<std::uint32_t>(data.size());
        data.append(QByteArray((4 - data.size() % 4) % 4, '\0'));
        std::uint32_t sum = 0;
        for (qsizetype i = 0; i < data.size(); i += 4)
            sum += (std::uint32_t(static_cast<unsigned char>(data[i])) << 24) |
                   (std::uint32_t(static_cast<unsigned char>(data[i + 1])) << 16) |
                   (std::uint32_t(static_cast<unsigned char>(data[i + 2])) << 8) |
                   std::uint32_t(static_cast<unsigned char>(data[i + 3]));
        file.append(tag, 4);
        put32(file, sum);
        put32(file, offset);
        put32(file, length);
        offset += static_cast<std::uint32_t>(data.size());
    }
    for (const auto& table : tables) file += table.second;
    return file;
}

// A PDF text string in UTF-16 with its byte-order mark.
std::string textString(const QString& text) {
    std::string out = "<FEFF";
    for (const QChar c : text) hex4(out, c.unicode());
    return out + ">";
}

}  // namespace

PdfFile::PdfFile(const QString& path, const PageSetup& setup, const QString& title)
    : file_(path), setup_(setup), title_(title) {
    offsets_.resize(kInfo + 1, 0);
    ok_ = file_.open(QIODevice::WriteOnly | QIODevice::Truncate);
    if (ok_) write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
}

PdfFile::~PdfFile() = default;

bool PdfFile::canEmbed(const PageFont& font) {
    return !font.underline && !font.strikeOut && FontGlyphs(font).trueTypeOutlines();
}

int PdfFile::reserveObject() {
    offsets_.push_back(0);
    return static_cast<int>(offsets_.size()) - 1;
}

void PdfFile::beginObject(int number) {
    offsets_[number] = written_;
    write(std::to_string(number) + " 0 obj\n");
}

void PdfFile::write(std::string_view text) {
    if (!ok_) return;
    const auto size = static_cast<qint64>(text.size());
    if (file_.write(text.data(), size) != size) ok_ = false;
    written_ += size;
}

void PdfFile::writeStream(int number, const QByteArray& data, const std::string& dictionary) {
    // qCompress puts the length in four bytes before the zlib stream that FlateDecode reads.
    const QByteArray packed = qCompress(data, kCompression).mid(4);
    beginObject(number);
    write("<< /Length " + std::to_string(packed.size()) + " /Filter /FlateDecode " + dictionary +
          ">>\nstream\n");
    write(std::string_view(packed.constData(), static_cast<std::size_t>(packed.size())));
    write("\nendstream\nendobj\n");
}

PdfFile::Font& PdfFile::font(int index, const std::vector<PageFont>& fonts) {
    if (static_cast<int>(fonts_.size()) <= index) fonts_.resize(index + 1);
    Font& f = fonts_[index];
    if (!f.glyphs) {
        f.glyphs = std::make_unique<FontGlyphs>(fonts[index]);
        const std::string name = postScriptName(f.glyphs->rawFont());
        const auto same = std::find_if(faces_.begin(), faces_.end(),
                                       [&name](const Face& face) { return face.name == name; });
        f.face = static_cast<int>(same - faces_.begin());
        if (same == faces_.end()) faces_.push_back({name, f.glyphs.get(), reserveObject(), {}, {}});
    }
    return f;
}

void PdfFile::addLines(const Page& page) {
    const std::vector<PlacedLine> lines = mergedLines(page.lines);
    if (lines.empty()) return;
    // As QPainter draws them: a black pen a hundredth of an inch wide, square caps.
    content_ += "0 G ";
    number(content_, kReferenceDpi / 100);
    content_ += "w 2 J 2 j\n";
    for (const PlacedLine& l : lines) {
        number(content_, l.x1 * kReferenceDpi);
        number(content_, l.y1 * kReferenceDpi);
        content_ += "m ";
        number(content_, l.x2 * kReferenceDpi);
        number(content_, l.y2 * kReferenceDpi);
        content_ += "l\n";
    }
    content_ += "S\n";
}

void PdfFile::addTexts(const Page& page, const std::vector<PageFont>& fonts) {
    // Text space upright in the page's downward dots; each run then moves from the last one.
    content_ += "BT\n0 g\n1 0 0 -1 0 0 Tm\n";
    long long lineX = 0, lineY = 0;  // thousandths of a dot
    int current = -1;
    QColor color = Qt::black;
    for (const PlacedText& t : page.texts) {
        if (t.font < 0 || t.font >= static_cast<int>(fonts.size())) continue;
        Font& f = font(t.font, fonts);
        Face& face = faces_[f.face];
        if (t.font != current) {
            current = t.font;
            content_ += "/F" + std::to_string(f.face) + ' ';
            number(content_, f.glyphs->pixelSize());
            content_ += "Tf\n";
            if (fonts[current].color != color) {
                color = fonts[current].color;
                number(content_, color.redF());
                number(content_, color.greenF());
                number(content_, color.blueF());
                content_ += "rg\n";
            }
        }
        f.glyphs->glyphs(t.text, run_);
        if (run_.empty()) continue;
        const long long x = toThousandths(t.x * kReferenceDpi);
        const long long y = toThousandths(t.baseline * kReferenceDpi);
        thousandths(content_, x - lineX);
        thousandths(content_, lineY - y);
        lineX = x;
        lineY = y;
        content_ += "Td [(";
        const double perMille = 1000.0 / (64.0 * f.glyphs->pixelSize());
        for (const FontGlyphs::Glyph& g : run_) {
            if (g.kern64 != 0) {
                content_ += ") ";
                number(content_, -g.kern64 * perMille);
                content_ += '(';
            }
            glyphBytes(content_, g.index);
            if (g.index >= face.used.size()) {
                face.used.resize(g.index + 1, 0);
                face.usedLow.resize(g.index + 1, 0);
            }
            if (!face.used[g.index]) {
                face.used[g.index] = g.text[0];
                face.usedLow[g.index] = g.text[1];
            }
        }
        content_ += ")] TJ\n";
    }
    content_ += "ET\n";
}

void PdfFile::pageDone(Page&& page, int, const std::vector<PageFont>& fonts) {
    if (!ok_) return;
    content_.clear();
    content_ += "q ";
    number(content_, kPointsPerDot);
    content_ += "0 0 ";
    number(content_, -kPointsPerDot);
    content_ += "0 ";
    number(content_, setup_.size.height() * 72);
    content_ += "cm\n";
    addLines(page);
    addTexts(page, fonts);
    content_ += "Q\n";
    const int contents = reserveObject(), pageObject = reserveObject();
    writeStream(contents, QByteArray::fromStdString(content_), std::string());
    beginObject(pageObject);
    std::string dict = "<< /Type /Page /Parent " + objectRef(kPageTree) + " /MediaBox [0 0 ";
    number(dict, setup_.size.width() * 72);
    number(dict, setup_.size.height() * 72);
    dict += "] /Resources << /Font <<";
    for (std::size_t i = 0; i < faces_.size(); ++i)
        dict += " /F" + std::to_string(i) + ' ' + objectRef(faces_[i].object);
    dict += " >> >> /Contents " + objectRef(contents) + " >>\nendobj\n";
    write(dict);
    pages_.push_back(pageObject);
}

void PdfFile::writeFace(const Face& f) {
    const FontGlyphs& g = *f.glyphs;
    const QRawFont& raw = g.rawFont();
    const double px = g.pixelSize();
    const std::string& name = f.name;
    const int cidFont = reserveObject(), descriptor = reserveObject(), fontFile = reserveObject(),
              toUnicode = reserveObject();

    beginObject(f.object);
    write("<< /Type /Font /Subtype /Type0 /BaseFont /" + name +
          " /Encoding /Identity-H /DescendantFonts [" + objectRef(cidFont) + "] /ToUnicode " +
          objectRef(toUnicode) + " >>\nendobj\n");

    // Widths in thousandths of the font size, from the font's design (all sizes share them).
    std::string widths;
    for (std::size_t i = 0; i < f.used.size();) {
        if (!f.used[i]) {
            ++i;
            continue;
        }
        widths += std::to_string(i) + " [";
        for (; i < f.used.size() && f.used[i]; ++i)
            number(widths, g.designAdvance(static_cast<std::uint32_t>(i)) * 1000.0);
        widths += "] ";
    }
    beginObject(cidFont);
    write("<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + name +
          " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
          " /FontDescriptor " +
          objectRef(descriptor) + " /CIDToGIDMap /Identity /W [" + widths + "] >>\nendobj\n");

    const QByteArray head = raw.fontTable("head");
    const double unitsPerEm = raw.unitsPerEm() > 0 ? raw.unitsPerEm() : 2048;
    const auto perMille = [&](double v) { return v * 1000.0 / unitsPerEm; };
    std::string d = "<< /Type /FontDescriptor /FontName /" + name + " /Flags " +
                    std::to_string(raw.style() == QFont::StyleNormal ? 32 : 96) + " /FontBBox [";
    for (int at = 36; at <= 42; at += 2) number(d, perMille(get16(head, at)));
    d += "] /ItalicAngle " + std::string(raw.style() == QFont::StyleNormal ? "0" : "-12");
    d += " /Ascent ";
    number(d, raw.ascent() * 1000 / px);
    d += "/Descent ";
    number(d, -raw.descent() * 1000 / px);
    d += "/CapHeight ";
    number(d, raw.capHeight() * 1000 / px);
    d += "/StemV 80 /FontFile2 " + objectRef(fontFile) + " >>\nendobj\n";
    beginObject(descriptor);
    write(d);

    const QByteArray file = trueTypeFile(raw);
    writeStream(fontFile, file, "/Length1 " + std::to_string(file.size()) + ' ');

    std::string map =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
        "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    std::vector<std::size_t> used;
    for (std::size_t i = 0; i < f.used.size(); ++i)
        if (f.used[i]) used.push_back(i);
    for (std::size_t from = 0; from < used.size(); from += 100) {
        const std::size_t to = std::min(used.size(), from + 100);
        map += std::to_string(to - from) + " beginbfchar\n";
        for (std::size_t k = from; k < to; ++k) {
            map += '<';
            hex4(map, static_cast<unsigned>(used[k]));
            map += "> <";
            hex4(map, f.used[used[k]]);
            if (f.usedLow[used[k]]) hex4(map, f.usedLow[used[k]]);
            map += ">\n";
        }
        map += "endbfchar\n";
    }
    map += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    writeStream(toUnicode, QByteArray::fromStdString(map), std::string());
}

void PdfFile::finished(const std::vector<PageFont>&) {
    if (!ok_ || !file_.isOpen()) return;
    for (const Face& f : faces_) writeFace(f);
    beginObject(kPageTree);
    std::string kids;
    for (const int p : pages_) kids += objectRef(p) + ' ';
    write("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages_.size()) +
          " >>\nendobj\n");
    beginObject(kCatalog);
    write("<< /Type /Catalog /Pages " + objectRef(kPageTree) + " >>\nendobj\n");
    beginObject(kInfo);
    write("<< /Title " + textString(title_) + " /Creator " +
          textString(QStringLiteral("Tessellon")) + " /Producer " +
          textString(QStringLiteral("Tessellon")) + " >>\nendobj\n");
    const qint64 xref = written_;
    std::string table = "xref\n0 " + std::to_string(offsets_.size()) + "\n0000000000 65535 f \n";
    char entry[24];
    for (std::size_t i = 1; i < offsets_.size(); ++i) {
        std::snprintf(entry, sizeof entry, "%010lld 00000 n \n",
                      static_cast<long long>(offsets_[i]));
        table += entry;
    }
    table += "trailer\n<< /Size " + std::to_string(offsets_.size()) + " /Root " +
             objectRef(kCatalog) + " /Info " + objectRef(kInfo) + " >>\nstartxref\n" +
             std::to_string(xref) + "\n%%EOF\n";
    write(table);
    file_.close();
    if (file_.error() != QFileDevice::NoError) ok_ = false;
}

}  // namespace reports
