#include "reports/font_glyphs.h"

#include <QByteArray>
#include <cmath>
#include <unordered_map>

namespace reports {

namespace {

constexpr std::uint32_t kUnknown = 0xffffffffu;
constexpr std::uint32_t kHidden = 0xfffffffeu;  // drawn as nothing, no width
constexpr std::uint32_t kNoPair = 0xffffffffu;

bool hidden(char16_t c) {
    return c == 0x00ad || (c >= 0x200b && c <= 0x200f) || (c >= 0x202a && c <= 0x202e) ||
           (c >= 0x2060 && c <= 0x2064) || c == 0xfeff;
}

unsigned get16(const QByteArray& table, qsizetype at) {
    if (at + 2 > table.size()) return 0;
    return (static_cast<unsigned char>(table[at]) << 8) | static_cast<unsigned char>(table[at + 1]);
}

}  // namespace

FontGlyphs::FontGlyphs(const PageFont& font)
    : pixelSize_(std::max(1, qRound(font.points * kReferenceDpi / 72.0))),
      glyphOf_(0x10000, kUnknown) {
    QFont f = resolvedFont(font);
    f.setPixelSize(pixelSize_);
    raw_ = QRawFont::fromFont(f);
    raw_.setPixelSize(pixelSize_);
    const bool bold = raw_.weight() >= QFont::DemiBold;
    const bool italic = raw_.style() != QFont::StyleNormal;
    styleMatches_ = bold == font.bold && italic == font.italic;
    readKerning();
}

bool FontGlyphs::trueTypeOutlines() const {
    return raw_.isValid() && styleMatches_ && !raw_.fontTable("glyf").isEmpty() &&
           !raw_.fontTable("loca").isEmpty() && !raw_.fontTable("head").isEmpty();
}

void FontGlyphs::readKerning() {
    // Version 0 kern table: horizontal format 0 subtables of (left, right, value) pairs.
    const QByteArray table = raw_.fontTable("kern");
    if (table.size() < 4 || get16(table, 0) != 0) return;
    const double unitsPerEm = raw_.unitsPerEm() > 0 ? raw_.unitsPerEm() : 2048;
    const double scale = 64.0 * pixelSize_ / unitsPerEm;
    std::unordered_map<std::uint32_t, int> pairs;
    qsizetype at = 4;
    for (unsigned n = get16(table, 2); n > 0 && at + 6 <= table.size(); --n) {
        const unsigned length = get16(table, at + 2), coverage = get16(table, at + 4);
        const bool horizontal = coverage & 1, minimum = coverage & 2, cross = coverage & 4;
        if ((coverage >> 8) == 0 && horizontal && !minimum && !cross) {
            const unsigned count = get16(table, at + 6);
            for (unsigned i = 0; i < count; ++i) {
                const qsizetype p = at + 14 + qsizetype(i) * 6;
                if (p + 6 > table.size()) break;
                const auto value = static_cast<std::int16_t>(get16(table, p + 4));
                const std::uint32_t key = (get16(table, p) << 16) | get16(table, p + 2);
                const int v = static_cast<int>(std::lround(value * scale));
                if (coverage & 8)
                    pairs[key] = v;
                else
                    pairs[key] += v;
            }
        }
        if (length < 6) break;
        at += length;
    }
    // An open-addressed table: looked up for every pair of glyphs of every cell.
    while ((std::size_t(1) << kernBits_) < 2 * pairs.size()) ++kernBits_;
    kernKeys_.assign(std::size_t(1) << kernBits_, kNoPair);
    kernValues_.assign(kernKeys_.size(), 0);
    for (const auto& [key, value] : pairs) {
        if (key == kNoPair || value == 0) continue;
        std::size_t i = slot(key);
        while (kernKeys_[i] != kNoPair) i = (i + 1) & (kernKeys_.size() - 1);
        kernKeys_[i] = key;
        kernValues_[i] = value;
        const std::uint32_t left = key >> 16;
        if (left >= kernsAfter_.size()) kernsAfter_.resize(left + 1, false);
        kernsAfter_[left] = true;
    }
}

std::size_t FontGlyphs::slot(std::uint32_t key) const {
    return static_cast<std::size_t>((key * 2654435761u) >> (32 - kernBits_));
}

std::uint32_t FontGlyphs::glyphFor(char16_t c) const {
    std::uint32_t& g = glyphOf_[c];
    if (g == kUnknown) {
        if (hidden(c)) {
            g = kHidden;
        } else if (c < 0x20 || c == 0x7f) {
            g = glyphFor(u' ');  // a control character (a tab in a field) shows as a blank
        } else {
            const QChar ch(c);
            quint32 index = 0;
            int count = 1;
            raw_.glyphIndexesForChars(&ch, 1, &index, &count);
            g = count == 1 ? index : 0;
        }
    }
    return g;
}

int FontGlyphs::advance64(std::uint32_t glyph) const {
    if (glyph >= advance64_.size()) advance64_.resize(glyph + 1, -1);
    int& a = advance64_[glyph];
    if (a < 0)
        a = std::max(0, static_cast<int>(std::lround(designAdvance(glyph) * pixelSize_ * 64)));
    return a;
}

double FontGlyphs::designAdvance(std::uint32_t glyph) const {
    const quint32 g = glyph;
    QPointF advance;
    raw_.advancesForGlyphIndexes(&g, &advance, 1, QRawFont::UseDesignMetrics);
    return advance.x() / pixelSize_;
}

int FontGlyphs::kern64(std::uint32_t left, std::uint32_t right) const {
    if (left >= kernsAfter_.size() || !kernsAfter_[left]) return 0;
    const std::uint32_t key = (left << 16) | (right & 0xffff);
    for (std::size_t i = slot(key);; i = (i + 1) & (kernKeys_.size() - 1)) {
        if (kernKeys_[i] == key) return kernValues_[i];
        if (kernKeys_[i] == kNoPair) return 0;
    }
}

template <typename Visit>
void FontGlyphs::walk(QStringView text, Visit visit) const {
    std::uint32_t previous = kUnknown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        Glyph glyph{0, 0, {c, 0}};
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            // Outside the Basic Multilingual Plane: looked up each time (rare in a collection).
            glyph.text[1] = text[i + 1].unicode();
            const QList<quint32> g = raw_.glyphIndexesForString(text.mid(i, 2).toString());
            glyph.index = g.isEmpty() ? 0 : g.first();
            ++i;
        } else {
            glyph.index = glyphFor(c);
            if (glyph.index == kHidden) continue;
        }
        if (previous != kUnknown) glyph.kern64 = kern64(previous, glyph.index);
        previous = glyph.index;
        visit(glyph);
    }
}

void FontGlyphs::glyphs(QStringView text, std::vector<Glyph>& out) const {
    out.clear();
    walk(text, [&out](const Glyph& g) { out.push_back(g); });
}

std::int64_t FontGlyphs::width64(QStringView text) const {
    std::int64_t width = 0;
    walk(text, [&](const Glyph& g) { width += g.kern64 + advance64(g.index); });
    return width;
}

}  // namespace reports
