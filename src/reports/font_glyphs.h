// The glyphs of one page font at the reference resolution, read from the font file itself.
//
// Which glyph draws each character (the font's cmap), how far each glyph advances (hmtx) and
// how pairs of glyphs kern (the kern table), at the pixel size the painter draws the font at
// (its point size on the 1200-dpi reference device, rounded to whole dots). Advances are kept
// in 1/64 dot as Qt's own text layout keeps them, so a width measured here agrees with Qt's
// shaped width of the same Latin, Greek or Cyrillic text to within 1/64 dot per kerned pair,
// at a small fraction of the cost: a report measures every cell of every record. Characters
// that are never shown (the soft hyphen, zero-width spaces and marks) have no width and no
// glyph; control characters count as blanks. Characters the font lacks measure and draw as its
// missing-glyph box.
#pragma once

#include <QRawFont>
#include <QStringView>
#include <cstdint>
#include <vector>

#include "reports/page_model.h"

namespace reports {

class FontGlyphs {
  public:
    explicit FontGlyphs(const PageFont& font);

    struct Glyph {
        std::uint32_t index;  // glyph in the font
        int kern64;           // kerning before this glyph, in 1/64 dot (0 for the first)
        char16_t text[2];     // the character it draws (a surrogate pair, or text[1] == 0)
    };

    // Width of `text` in 1/64 reference dot.
    std::int64_t width64(QStringView text) const;
    // The glyphs that draw `text`, into `out` (cleared first).
    void glyphs(QStringView text, std::vector<Glyph>& out) const;
    int advance64(std::uint32_t glyph) const;
    // Advance of `glyph` in ems, unrounded.
    double designAdvance(std::uint32_t glyph) const;

    const QRawFont& rawFont() const { return raw_; }
    int pixelSize() const { return pixelSize_; }
    // The font file is TrueType with outlines in a glyf table, and it has the weight and slant
    // asked for (not drawn by Qt as a synthetic bold or oblique).
    bool trueTypeOutlines() const;

  private:
    template <typename Visit>
    void walk(QStringView text, Visit visit) const;
    std::uint32_t glyphFor(char16_t c) const;
    int kern64(std::uint32_t left, std::uint32_t right) const;
    void readKerning();

    QRawFont raw_;
    int pixelSize_;
    bool styleMatches_ = false;
    mutable std::vector<std::uint32_t> glyphOf_;  // per UTF-16 unit; kUnknown until looked up
    mutable std::vector<int> advance64_;          // per glyph; -1 until looked up
    // Kerning pairs, (left << 16 | right) -> 1/64 dot, open-addressed in 2^kernBits_ slots.
    std::size_t slot(std::uint32_t key) const;
    int kernBits_ = 1;
    std::vector<std::uint32_t> kernKeys_;
    std::vector<int> kernValues_;
    std::vector<bool> kernsAfter_;  // per glyph: it has pairs as the left one
};

}  // namespace reports
