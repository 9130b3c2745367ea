// Reading UTF-8 text as composed characters (Unicode canonical composition,
// NFC) for the characters the table code pages hold.
//
// Text typed or pasted may spell "á" as "a" followed by a combining acute
// accent; the code pages hold only the precomposed letter. ComposedReader
// yields the text's characters after canonical reordering of combining marks
// and composition of every pair whose result is a letter of a supported code
// page (Latin letters with accents, Cyrillic letters with breve, diaeresis or
// acute) and after the canonical singletons that map onto such characters
// (Kelvin and Angstrom signs, Ohm sign, Greek question mark, ...). Pairs whose
// result no supported code page holds stay uncomposed: they could not be
// stored either way. Already composed text passes unchanged.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace engine {

// Values at and above kRawByte stand for a byte that is not valid UTF-8:
// kRawByte + the byte's value.
inline constexpr char32_t kRawByte = 0x110000;

// Decodes one UTF-8 sequence at `s[i]`. Returns its length, or 0 when the
// bytes there are not a valid (shortest-form, non-surrogate) sequence.
std::size_t decodeUtf8(std::string_view s, std::size_t i, char32_t& out);

class ComposedReader {
  public:
    explicit ComposedReader(std::string_view utf8, std::size_t from = 0)
        : text_(utf8), pos_(from) {}
    // Next character of the composed text; false at the end.
    bool next(char32_t& c);
    // True when the last character returned was a combining mark left over
    // after composition (it belongs with the character before it).
    bool lastWasMark() const { return lastWasMark_; }

  private:
    char32_t decodeAt(std::size_t& i) const;
    void composeRun(char32_t starter);

    std::string_view text_;
    std::size_t pos_;
    std::u32string pending_;  // the rest of a composed run, in order
    std::size_t pendingAt_ = 0;
    bool lastWasMark_ = false;
};

}  // namespace engine
