// KeyExpression: compiles through the parser into a segment program and runs
// that program over raw records. evaluate() allocates nothing: each segment is
// a byte copy (with a table lookup for UPPER), a STR() into a small stack
// buffer, or the eight date bytes.
#include "engine/expression.h"

#include <cstring>

#include "engine/expression_parser.h"
#include "engine/expression_program.h"
#include "engine/number_text.h"

namespace engine {
namespace {

// A stored date of spaces or of zeros is the blank date.
bool isBlankDate(const char* bytes, int length) {
    bool spaces = true;
    bool zeros = true;
    for (int i = 0; i < length; ++i) {
        spaces = spaces && bytes[i] == ' ';
        zeros = zeros && bytes[i] == '0';
    }
    return spaces || zeros;
}

void writeSegment(const KeySegment& s, const char* record, char* out, CodePage cp) {
    const char* field = record + s.fieldOffset;
    switch (s.kind) {
        case KeySegment::Kind::Copy:
            std::memcpy(out, field, static_cast<std::size_t>(s.take));
            break;
        case KeySegment::Kind::Str: {
            char text[kMaxStrLength];
            strOfFieldText(std::string_view(field, static_cast<std::size_t>(s.fieldLength)),
                           s.strLen, s.strDec, text);
            std::memcpy(out, text, static_cast<std::size_t>(s.take));
            break;
        }
        case KeySegment::Kind::Dtos: {
            // A date field is 8 bytes; a foreign file's odd width is cut or padded.
            int stored = s.fieldLength < 8 ? s.fieldLength : 8;
            int copied = isBlankDate(field, stored) ? 0 : (stored < s.take ? stored : s.take);
            std::memcpy(out, field, static_cast<std::size_t>(copied));
            std::memset(out + copied, ' ', static_cast<std::size_t>(s.take - copied));
            break;
        }
    }
    if (s.upper) upperInPlace(out, static_cast<std::size_t>(s.take), cp);
}

}  // namespace

KeyExpression KeyExpression::compile(std::string_view text, const std::vector<FieldInfo>& fields,
                                     CodePage cp) {
    ParsedKey parsed = parseKeyExpression(text, fields);
    KeyExpression e;
    e.text_ = std::string(text);
    e.keyLength_ = parsed.keyLength;
    e.bareField_ = parsed.bareField;
    e.root_ = std::make_shared<const Node>(std::move(parsed.program));
    e.cp_ = cp;
    return e;
}

KeyExpression::KeyExpression(KeyExpression&&) noexcept = default;
KeyExpression& KeyExpression::operator=(KeyExpression&&) noexcept = default;
KeyExpression::KeyExpression(const KeyExpression&) = default;
KeyExpression& KeyExpression::operator=(const KeyExpression&) = default;
KeyExpression::~KeyExpression() = default;

void KeyExpression::evaluate(const char* record, char* out) const {
    if (!root_) return;
    for (const KeySegment& s : root_->segments) {
        writeSegment(s, record, out, cp_);
        out += s.take;
    }
}

std::string KeyExpression::evaluate(const char* record) const {
    std::string key(static_cast<std::size_t>(keyLength_), ' ');
    evaluate(record, key.data());
    return key;
}

}  // namespace engine
