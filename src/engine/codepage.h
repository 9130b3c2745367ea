// Code pages of dBase tables and the conversion to and from UTF-8.
//
// Table text is stored as single-byte text in the table's code page (header
// byte 29, the language driver). Callers of the engine always see UTF-8; the
// conversion happens here and nowhere else. Key building upper-cases bytes with
// upperByte(), the one case mapping used everywhere keys are built or searched.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace engine {

enum class CodePage { Cp1252, Cp437, Cp850, Cp1250, Cp1251, Cp866, Cp852, Cp1253, Cp1254, Cp1257 };

// Code page named by a dBase language-driver byte; unknown and 0 give Cp1252.
CodePage codePageForLanguageDriver(std::uint8_t id);
// Language-driver byte written for new tables of that code page (Cp1252 -> 0x57).
std::uint8_t languageDriverFor(CodePage cp);

// Bytes in `cp` to UTF-8. Never fails.
std::string toUtf8(std::string_view bytes, CodePage cp);
// The same conversion replacing the contents of `out`.
void toUtf8Into(std::string_view bytes, CodePage cp, std::string& out);
// UTF-8 to bytes in `cp`. The text is composed first (a letter followed by a
// combining accent becomes the accented letter; see unicode_compose.h).
// Characters the code page lacks become '?'; invalid UTF-8 bytes are taken as
// Windows-1252 bytes. Result has one byte per composed character.
std::string fromUtf8(std::string_view utf8, CodePage cp);
// The same conversion written straight into `out`, stopping after `capacity`
// bytes; returns the number of bytes written. With `lacking`, also says in the
// same pass whether the whole text (past `capacity` too) holds a character
// the code page lacks, that is whether unencodableCharacters() is not empty.
std::size_t fromUtf8Into(std::string_view utf8, CodePage cp, char* out, std::size_t capacity,
                         bool* lacking = nullptr);
// The distinct characters of the composed text that `cp` cannot hold, as
// UTF-8 in order of first appearance; empty when everything fits. A character
// is what the reader sees: a combining mark left over after composition comes
// together with the letter it sits on ("g" + acute gives "ǵ").
std::string unencodableCharacters(std::string_view utf8, CodePage cp);
// Number of characters in a UTF-8 text (invalid bytes count as one each).
std::size_t utf8Length(std::string_view utf8);

// Upper case of one byte of text in `cp` (ASCII letters and the code page's
// accented lower-case letters; everything else unchanged).
unsigned char upperByte(unsigned char c, CodePage cp);
void upperInPlace(char* bytes, std::size_t n, CodePage cp);

}  // namespace engine
