#include "reports/pdf_file.h"

#include <QByteArray>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "reports/pdf_syntax.h"

namespace reports {

using namespace pdf;

namespace {

constexpr int kCatalog = 1, kPageTree = 2, kInfo = 3;
constexpr int kCompression = 1;  // the fastest: page contents are plain, repetitive text
constexpr double kPointsPerDot = 72.0 / kReferenceDpi;

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

// A PDF name made of the font's family and style.
std::string postScriptName(const QRawFont& raw) {
    std::string name;
    for (const QChar c : raw.familyName() + QLatin1Char('-') + raw.styleName())
        if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
            c == u'-')
            name += static_cast<char>(c.unicode());
    return name;
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
    if (file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    else
        fail(QStringLiteral("created"));
}

void PdfFile::fail(const QString& doing) {
    if (!ok_) return;  // the first failure is the one to tell
    ok_ = false;
    const QString reason = file_.error() != QFileDevice::NoError ? file_.errorString() : QString();
    error_ = QStringLiteral("The PDF file \"%1\" could not be %2").arg(file_.fileName(), doing) +
             (reason.isEmpty() ? QStringLiteral(".") : QStringLiteral(": %1.").arg(reason));
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
    if (file_.write(text.data(), size) != size) fail(QStringLiteral("written"));
    written_ += size;
}

void PdfFile::writeStream(int number, const QByteArray& data, const std::string& dictionary) {
    // qCompress puts the length in four bytes before the zlib stream that FlateDecode reads.
    writeRawStream(number, qCompress(data, kCompression).mid(4),
                   "/Filter /FlateDecode " + dictionary);
}

void PdfFile::writeRawStream(int number, const QByteArray& data, const std::string& dictionary) {
    beginObject(number);
    write("<< /Length " + std::to_string(data.size()) + ' ' + dictionary + ">>\nstream\n");
    write(std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
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
    std::string resources;
    addImages(page, resources);
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
    dict += " >>" + resources + " >> /Contents " + objectRef(contents) + " >>\nendobj\n";
    write(dict);
    pages_.push_back(pageObject);
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
    // The last pieces reach the disk here; a full disk is told now, before closing forgets it.
    if (ok_ && !file_.flush()) fail(QStringLiteral("written"));
    file_.close();
    if (file_.error() != QFileDevice::NoError) fail(QStringLiteral("written"));
}

}  // namespace reports
