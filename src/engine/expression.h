// dBase index key expressions.
//
// The language covers what the collection's sort orders use: field names (any
// letter case), UPPER(s), LEFT(s, n), STR(x[, len[, dec]]), DTOS(d) and
// concatenation with '+'; function names in any letter case. The result is
// always a character key of fixed length, computed from the declared field
// widths when the expression is compiled. Anything else is refused with an
// EngineError whose message names the expression.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/codepage.h"
#include "engine/field.h"

namespace engine {

class KeyExpression {
public:
    // Compiles `text` against the table's fields. Throws EngineError.
    static KeyExpression compile(std::string_view text, const std::vector<FieldInfo>& fields,
                                 CodePage cp);

    KeyExpression(KeyExpression&&) noexcept;
    KeyExpression& operator=(KeyExpression&&) noexcept;
    KeyExpression(const KeyExpression&);
    KeyExpression& operator=(const KeyExpression&);
    ~KeyExpression();

    const std::string& text() const { return text_; }
    int keyLength() const { return keyLength_; }
    // Index of the field when the expression is exactly one bare field name.
    std::optional<int> bareField() const { return bareField_; }

    // Writes keyLength() bytes for the raw record `record` (byte 0 is the
    // deletion flag, fields at their FieldInfo::offset).
    void evaluate(const char* record, char* out) const;
    std::string evaluate(const char* record) const;

    struct Node;  // compiled form, private to expression.cpp

private:
    KeyExpression() = default;
    std::string text_;
    int keyLength_ = 0;
    std::optional<int> bareField_;
    std::shared_ptr<const Node> root_;
    CodePage cp_ = CodePage::Cp1252;
};

}  // namespace engine
