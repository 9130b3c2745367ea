#include "engine/unicode_compose.h"

#include <algorithm>
#include <array>

namespace engine {
namespace {

struct Composition {
    char32_t base;
    char32_t mark;
    char32_t composed;
};

// Canonical compositions whose result lies in a supported code page, sorted by
// base and mark.
constexpr Composition kCompositions[] = {
    {0x0041, 0x0300, 0x00C0}, {0x0041, 0x0301, 0x00C1}, {0x0041, 0x0302, 0x00C2},
    {0x0041, 0x0303, 0x00C3}, {0x0041, 0x0306, 0x0102}, {0x0041, 0x0308, 0x00C4},
    {0x0041, 0x030A, 0x00C5}, {0x0041, 0x0328, 0x0104}, {0x0043, 0x0301, 0x0106},
    {0x0043, 0x030C, 0x010C}, {0x0043, 0x0327, 0x00C7}, {0x0044, 0x030C, 0x010E},
    {0x0045, 0x0300, 0x00C8}, {0x0045, 0x0301, 0x00C9}, {0x0045, 0x0302, 0x00CA},
    {0x0045, 0x0308, 0x00CB}, {0x0045, 0x030C, 0x011A}, {0x0045, 0x0328, 0x0118},
    {0x0049, 0x0300, 0x00CC}, {0x0049, 0x0301, 0x00CD}, {0x0049, 0x0302, 0x00CE},
    {0x0049, 0x0308, 0x00CF}, {0x004C, 0x0301, 0x0139}, {0x004C, 0x030C, 0x013D},
    {0x004E, 0x0301, 0x0143}, {0x004E, 0x0303, 0x00D1}, {0x004E, 0x030C, 0x0147},
    {0x004F, 0x0300, 0x00D2}, {0x004F, 0x0301, 0x00D3}, {0x004F, 0x0302, 0x00D4},
    {0x004F, 0x0303, 0x00D5}, {0x004F, 0x0308, 0x00D6}, {0x004F, 0x030B, 0x0150},
    {0x0052, 0x0301, 0x0154}, {0x0052, 0x030C, 0x0158}, {0x0053, 0x0301, 0x015A},
    {0x0053, 0x030C, 0x0160}, {0x0053, 0x0327, 0x015E}, {0x0054, 0x030C, 0x0164},
    {0x0054, 0x0327, 0x0162}, {0x0055, 0x0300, 0x00D9}, {0x0055, 0x0301, 0x00DA},
    {0x0055, 0x0302, 0x00DB}, {0x0055, 0x0308, 0x00DC}, {0x0055, 0x030A, 0x016E},
    {0x0055, 0x030B, 0x0170}, {0x0059, 0x0301, 0x00DD}, {0x0059, 0x0308, 0x0178},
    {0x005A, 0x0301, 0x0179}, {0x005A, 0x0307, 0x017B}, {0x005A, 0x030C, 0x017D},
    {0x0061, 0x0300, 0x00E0}, {0x0061, 0x0301, 0x00E1}, {0x0061, 0x0302, 0x00E2},
    {0x0061, 0x0303, 0x00E3}, {0x0061, 0x0306, 0x0103}, {0x0061, 0x0308, 0x00E4},
    {0x0061, 0x030A, 0x00E5}, {0x0061, 0x0328, 0x0105}, {0x0063, 0x0301, 0x0107},
    {0x0063, 0x030C, 0x010D}, {0x0063, 0x0327, 0x00E7}, {0x0064, 0x030C, 0x010F},
    {0x0065, 0x0300, 0x00E8}, {0x0065, 0x0301, 0x00E9}, {0x0065, 0x0302, 0x00EA},
    {0x0065, 0x0308, 0x00EB}, {0x0065, 0x030C, 0x011B}, {0x0065, 0x0328, 0x0119},
    {0x0069, 0x0300, 0x00EC}, {0x0069, 0x0301, 0x00ED}, {0x0069, 0x0302, 0x00EE},
    {0x0069, 0x0308, 0x00EF}, {0x006C, 0x0301, 0x013A}, {0x006C, 0x030C, 0x013E},
    {0x006E, 0x0301, 0x0144}, {0x006E, 0x0303, 0x00F1}, {0x006E, 0x030C, 0x0148},
    {0x006F, 0x0300, 0x00F2}, {0x006F, 0x0301, 0x00F3}, {0x006F, 0x0302, 0x00F4},
    {0x006F, 0x0303, 0x00F5}, {0x006F, 0x0308, 0x00F6}, {0x006F, 0x030B, 0x0151},
    {0x0072, 0x0301, 0x0155}, {0x0072, 0x030C, 0x0159}, {0x0073, 0x0301, 0x015B},
    {0x0073, 0x030C, 0x0161}, {0x0073, 0x0327, 0x015F}, {0x0074, 0x030C, 0x0165},
    {0x0074, 0x0327, 0x0163}, {0x0075, 0x0300, 0x00F9}, {0x0075, 0x0301, 0x00FA},
    {0x0075, 0x0302, 0x00FB}, {0x0075, 0x0308, 0x00FC}, {0x0075, 0x030A, 0x016F},
    {0x0075, 0x030B, 0x0171}, {0x0079, 0x0301, 0x00FD}, {0x0079, 0x0308, 0x00FF},
    {0x007A, 0x0301, 0x017A}, {0x007A, 0x0307, 0x017C}, {0x007A, 0x030C, 0x017E},
    {0x0406, 0x0308, 0x0407}, {0x0413, 0x0301, 0x0403}, {0x0415, 0x0308, 0x0401},
    {0x0418, 0x0306, 0x0419}, {0x041A, 0x0301, 0x040C}, {0x0423, 0x0306, 0x040E},
    {0x0433, 0x0301, 0x0453}, {0x0435, 0x0308, 0x0451}, {0x0438, 0x0306, 0x0439},
    {0x043A, 0x0301, 0x045C}, {0x0443, 0x0306, 0x045E}, {0x0456, 0x0308, 0x0457},
};

static_assert(std::is_sorted(std::begin(kCompositions), std::end(kCompositions),
                             [](const Composition& a, const Composition& b) {
                                 return a.base != b.base ? a.base < b.base : a.mark < b.mark;
                             }));

// Canonical combining class of the marks of the Combining Diacritical Marks
// block (U+0300-U+036F); every other character counts as a starter (class 0),
// which only stops composition across it.
struct ClassRange {
    char16_t first, last;
    unsigned char ccc;
};
constexpr ClassRange kClasses[] = {
    {0x0300, 0x0314, 230}, {0x0315, 0x0315, 232}, {0x0316, 0x0319, 220}, {0x031A, 0x031A, 232},
    {0x031B, 0x031B, 216}, {0x031C, 0x0320, 220}, {0x0321, 0x0322, 202}, {0x0323, 0x0326, 220},
    {0x0327, 0x0328, 202}, {0x0329, 0x0333, 220}, {0x0334, 0x0338, 1},   {0x0339, 0x033C, 220},
    {0x033D, 0x0344, 230}, {0x0345, 0x0345, 240}, {0x0346, 0x0346, 230}, {0x0347, 0x0349, 220},
    {0x034A, 0x034C, 230}, {0x034D, 0x034E, 220}, {0x0350, 0x0352, 230}, {0x0353, 0x0356, 220},
    {0x0357, 0x0357, 230}, {0x0358, 0x0358, 232}, {0x0359, 0x035A, 220}, {0x035B, 0x035B, 230},
    {0x035C, 0x035C, 233}, {0x035D, 0x035E, 234}, {0x035F, 0x035F, 233}, {0x0360, 0x0361, 234},
    {0x0362, 0x0362, 233}, {0x0363, 0x036F, 230},
};

unsigned char combiningClass(char32_t c) {
    if (c < 0x0300 || c > 0x036F) return 0;
    for (const ClassRange& r : kClasses)
        if (c >= r.first && c <= r.last) return r.ccc;
    return 0;  // U+034F, the grapheme joiner
}

// Characters whose canonical decomposition is a single other character.
char32_t singleton(char32_t c) {
    switch (c) {
        case 0x0340:
            return 0x0300;
        case 0x0341:
            return 0x0301;
        case 0x0343:
            return 0x0313;
        case 0x037E:
            return 0x003B;
        case 0x0387:
            return 0x00B7;
        case 0x1FEF:
            return 0x0060;
        case 0x1FFD:
            return 0x00B4;
        case 0x2126:
            return 0x03A9;
        case 0x212A:
            return 0x004B;
        case 0x212B:
            return 0x00C5;
        default:
            return c;
    }
}

char32_t compose(char32_t base, char32_t mark) {
    auto it = std::lower_bound(std::begin(kCompositions), std::end(kCompositions), base,
                               [mark](const Composition& e, char32_t b) {
                                   return e.base != b ? e.base < b : e.mark < mark;
                               });
    if (it != std::end(kCompositions) && it->base == base && it->mark == mark) return it->composed;
    return 0;
}

}  // namespace

std::size_t decodeUtf8(std::string_view s, std::size_t i, char32_t& out) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char lead = byte(i);
    if (lead < 0x80) {
        out = lead;
        return 1;
    }
    std::size_t len;
    char32_t c;
    char32_t min;
    if ((lead & 0xE0) == 0xC0) {
        len = 2, c = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        len = 3, c = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        len = 4, c = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    out = c;
    return len;
}

char32_t ComposedReader::decodeAt(std::size_t& i) const {
    char32_t c;
    std::size_t len = decodeUtf8(text_, i, c);
    if (len == 0) {
        c = kRawByte + static_cast<unsigned char>(text_[i]);
        len = 1;
    }
    i += len;
    return singleton(c);
}

bool ComposedReader::next(char32_t& c) {
    if (pendingAt_ < pending_.size()) {
        c = pending_[pendingAt_++];
        lastWasMark_ = combiningClass(c) != 0;
        return true;
    }
    if (pos_ >= text_.size()) return false;
    c = decodeAt(pos_);
    lastWasMark_ = combiningClass(c) != 0;
    // Most characters are not followed by a combining mark: no work for them.
    if (pos_ < text_.size() && static_cast<unsigned char>(text_[pos_]) >= 0xC0) {
        std::size_t peek = pos_;
        if (combiningClass(decodeAt(peek)) != 0) {
            composeRun(c);
            pendingAt_ = 0;
            return next(c);
        }
    }
    return true;
}

// Gathers the combining marks after `starter`, puts them in canonical order
// and composes each with the starter unless an earlier mark of the same or a
// higher class that stayed separate blocks it. Leaves the result in pending_.
void ComposedReader::composeRun(char32_t starter) {
    pending_.assign(1, starter);
    for (;;) {
        if (pos_ >= text_.size()) break;
        std::size_t at = pos_;
        char32_t m = decodeAt(at);
        if (m == 0x0344) {  // decomposes into diaeresis and acute
            pending_ += char32_t(0x0308);
            m = 0x0301;
        }
        if (combiningClass(m) == 0) break;
        pending_ += m;
        pos_ = at;
    }
    std::stable_sort(pending_.begin() + 1, pending_.end(),
                     [](char32_t a, char32_t b) { return combiningClass(a) < combiningClass(b); });
    // A starter that is itself a mark (text opening with one) composes with nothing.
    if (combiningClass(starter) != 0) return;
    std::size_t kept = 1;
    int lastClass = -1;  // class of the last mark left uncomposed
    for (std::size_t i = 1; i < pending_.size(); ++i) {
        const int cls = combiningClass(pending_[i]);
        char32_t composed = lastClass < cls ? compose(pending_[0], pending_[i]) : 0;
        if (composed != 0) {
            pending_[0] = composed;
        } else {
            pending_[kept++] = pending_[i];
            lastClass = cls;
        }
    }
    pending_.resize(kept);
}

}  // namespace engine
