// The embedded fonts of a PDF file: each face's TrueType file, its widths and its map back
// to the characters drawn.
#include <QByteArray>
#include <vector>

#include "reports/pdf_file.h"
#include "reports/pdf_syntax.h"

namespace reports {

using namespace pdf;

namespace {

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

}  // namespace

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

}  // namespace reports
