// Parser and type checker for key expressions, private to the expression
// module.
//
// Turns the text of an index expression into a segment program (see
// expression_program.h), resolving field names case-insensitively against the
// table's fields. Throws EngineError whose message quotes the expression and
// says what is wrong with it.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "engine/expression_program.h"
#include "engine/field.h"

namespace engine {

struct ParsedKey {
    KeyExpression::Node program;
    int keyLength = 0;
    std::optional<int> bareField;  // set when the text is one character field name
};

// Longest expression text an index tag can hold.
inline constexpr int kMaxExpressionLength = 220;
// Longest character key an index tag can hold.
inline constexpr int kMaxKeyLength = 100;
// Longest STR() result: the widest numeric field.
inline constexpr int kMaxStrLength = 20;

ParsedKey parseKeyExpression(std::string_view text, const std::vector<FieldInfo>& fields);

}  // namespace engine
