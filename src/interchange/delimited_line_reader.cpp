#include "interchange/delimited_line_reader.h"

#include <cstdint>
#include <cstring>

#include "engine/codepage.h"

namespace interchange {

namespace {

bool isLineBreak(int c) {
    return c == '\r' || c == '\n';
}

bool isContinuationByte(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Characters of `s` in `encoding`.
std::size_t charCount(const std::string& s, TextEncoding encoding) {
    if (encoding == TextEncoding::Cp1252) return s.size();
    std::size_t n = 0;
    for (unsigned char c : s) n += !isContinuationByte(c);
    return n;
}

bool isAscii(const std::string& s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

// `utf8` cut to its first `chars` characters.
std::string firstChars(const std::string& utf8, std::size_t chars) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (!isContinuationByte(static_cast<unsigned char>(utf8[i])) && seen++ == chars)
            return utf8.substr(0, i);
    }
    return utf8;
}

}  // namespace

DelimitedLineReader::DelimitedLineReader(const std::string& path)
    : DelimitedLineReader(path, detectTextEncoding(path)) {}

DelimitedLineReader::DelimitedLineReader(const std::string& path, TextEncoding encoding)
    : in_(path), encoding_(encoding) {
    if (encoding_ == TextEncoding::Utf8) in_.skipByteOrderMark();
}

DelimitedLineReader::DelimitedLineReader(const std::string& path, engine::CodePage legacy)
    : DelimitedLineReader(path) {
    legacy_ = legacy;
}

bool DelimitedLineReader::atLineEnd() {
    const int c = in_.peek();
    return c < 0 || isLineBreak(c);
}

void DelimitedLineReader::takeLineBreak() {
    const int c = in_.get();
    if (c == '\r' && in_.peek() == '\n') in_.get();
    ++line_;
}

void DelimitedLineReader::finishLine() {
    for (;;) {
        const auto [p, n] = in_.window();
        if (n == 0) return;
        const void* cr = std::memchr(p, '\r', n);
        const void* lf = std::memchr(p, '\n', n);
        const char* hit = static_cast<const char*>(cr);
        if (!hit || (lf && static_cast<const char*>(lf) < hit)) hit = static_cast<const char*>(lf);
        if (!hit) {
            in_.skip(n);
            continue;
        }
        in_.skip(std::size_t(hit - p));
        takeLineBreak();
        return;
    }
}

DelimitedLineReader::FieldResult DelimitedLineReader::readField(std::string& out) {
    out.clear();
    FieldResult result;
    bool quoted = false;
    int breaksInside = 0;  // line breaks met inside the quotes
    // Stores one byte unless the value already holds its 255 characters (the long field's
    // limit for that field).
    const std::size_t limit = limit_;
    const auto put = [&](char c) {
        if (out.size() < limit || charCount(out, encoding_) < limit)
            out.push_back(c);
        else
            result.tooLong = true;
    };
    const auto onlyBlanks = [&out] {
        return out.find_first_not_of(' ') == std::string::npos;
    };
    for (;;) {
        const auto [p, n] = in_.window();
        if (n == 0) {
            result.end = FieldEnd::File;
            result.broken = quoted && breaksInside > 0;
            return result;
        }
        // A run of stored bytes at once, eight at a time while none is a control character, a
        // double quote or a comma.
        std::size_t run = 0;
        constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
        constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
        while (run + 8 <= n) {
            std::uint64_t word;
            std::memcpy(&word, p + run, 8);
            const std::uint64_t quotes = word ^ (kOnes * '"');
            const std::uint64_t commas = word ^ (kOnes * ',');
            if ((((word - kOnes * 32) & ~word) | ((quotes - kOnes) & ~quotes) |
                 ((commas - kOnes) & ~commas)) &
                kHighs)
                break;
            run += 8;
        }
        while (run < n) {
            const unsigned char c = static_cast<unsigned char>(p[run]);
            if (c < 32 || c == '"' || c == ',') break;
            ++run;
        }
        if (run > 0) {
            if (out.size() + run <= limit) {
                out.append(p, run);
            } else if (!result.tooLong) {
                // Near the limit: character by character (a character may span bytes).
                std::size_t chars = charCount(out, encoding_);
                for (std::size_t i = 0; i < run; ++i) {
                    const unsigned char c = static_cast<unsigned char>(p[i]);
                    const bool starts = encoding_ == TextEncoding::Cp1252 || !isContinuationByte(c);
                    if (starts && chars == limit) {
                        result.tooLong = true;
                        break;
                    }
                    chars += starts;
                    out.push_back(char(c));
                }
            }
            in_.skip(run);
            continue;
        }
        const int c = in_.peek();
        if (isLineBreak(c)) {
            if (!quoted) {
                result.end = FieldEnd::Line;
                return result;
            }
            // A value of several lines: the break is kept as one blank.
            takeLineBreak();
            if (++breaksInside > kMaxValueChars) {
                result.end = FieldEnd::Line;
                result.broken = true;
                return result;
            }
            put(' ');
            continue;
        }
        in_.get();
        if (c == ',') {
            if (!quoted) {
                result.end = FieldEnd::Comma;
                return result;
            }
            put(',');
            continue;
        }
        if (c != '"') continue;  // a control character: dropped
        if (!quoted) {
            // A quote at the start of a field opens the quotes; later it is text.
            if (onlyBlanks())
                quoted = true;
            else
                put('"');
            continue;
        }
        const int next = in_.peek();
        if (next < 0 || isLineBreak(next)) {
            result.end = next < 0 ? FieldEnd::File : FieldEnd::Line;
            result.closedByQuote = true;
            return result;
        }
        if (next == ',') {
            in_.get();
            result.end = FieldEnd::Comma;
            result.closedByQuote = true;
            return result;
        }
        if (next != '"' && breaksInside > 0) {
            // Quotes opened on an earlier line were never closed: this is another record's text.
            result.end = FieldEnd::Line;
            result.broken = true;
            return result;
        }
        // A doubled quote stands for one; a lone quote before other text is part of the text.
        if (next == '"') in_.get();
        put('"');
    }
}

void DelimitedLineReader::toUtf8(std::string& value) {
    if (encoding_ != TextEncoding::Cp1252 || isAscii(value)) return;
    engine::toUtf8Into(value, legacy_, converted_);
    value.swap(converted_);
}

int DelimitedLineReader::readRecord(std::vector<std::string>& values, int maxFields) {
    if (maxFields < 1) maxFields = 1;
    if (values.size() < std::size_t(maxFields)) values.resize(std::size_t(maxFields));
    recordLine_ = line_;
    const std::uint64_t start = in_.offset();
    int count = 0;
    bool onlyOneField = true;
    for (;;) {
        limit_ =
            count == longField_ ? std::size_t(kMaxLongValueChars) : std::size_t(kMaxValueChars);
        const FieldResult r = readField(values[std::size_t(count++)]);
        limit_ = std::size_t(kMaxValueChars);
        if (r.broken) {
            // Back to the record's first line, which is passed over; the next line starts anew.
            in_.seek(start);
            line_ = recordLine_;
            finishLine();
            return -1;
        }
        if (r.end != FieldEnd::Comma || atLineEnd()) break;
        onlyOneField = false;
        if (count == maxFields) break;
    }
    finishLine();
    if (count == 1 && onlyOneField && values[0].empty()) return 0;
    for (int i = 0; i < count; ++i) toUtf8(values[std::size_t(i)]);
    return count;
}

FirstLine DelimitedLineReader::readFirstLine() {
    FirstLine line;
    std::string value;
    for (;;) {
        if (line.names.size() == std::size_t(kMaxImportFields)) {
            line.check = FirstLineCheck::TooManyFields;
            break;
        }
        const FieldResult r = readField(value);
        if (r.broken) {
            line.check = FirstLineCheck::UnclosedField;
            break;
        }
        if (r.tooLong) {
            line.check = FirstLineCheck::ValueTooLong;
            break;
        }
        toUtf8(value);
        line.names.push_back(value.empty() ? std::string("<BLANK FIELD>")
                                           : firstChars(value, kImportNameChars));
        if (r.end != FieldEnd::Comma) {
            if (!r.closedByQuote) line.check = FirstLineCheck::UnclosedField;
            break;
        }
        if (atLineEnd()) break;
    }
    finishLine();
    if (line.check != FirstLineCheck::Passed) line.names.clear();
    return line;
}

FirstLine readFirstLine(const std::string& path, engine::CodePage legacy) {
    return DelimitedLineReader(path, legacy).readFirstLine();
}

}  // namespace interchange
