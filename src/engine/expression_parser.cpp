// Recursive-descent parser for key expressions:
//
//   sum      := term { '+' term }
//   term     := '(' sum ')' | name | function '(' sum { ',' integer } ')'
//   function := UPPER | LEFT | STR | DTOS        (any letter case)
//
// Each sub-expression becomes a Value: character text (a list of segments) or
// a reference to a field of another type, which only STR and DTOS accept.
#include "engine/expression_parser.h"

#include <algorithm>
#include <string>
#include <utility>

#include "engine/error.h"

namespace engine {
namespace {

struct Value {
    bool isText = false;
    std::vector<KeySegment> segments;  // when isText
    int length = 0;                    // when isText
    int field = -1;                    // field index for a bare field reference
};

char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return upperAscii(x) == upperAscii(y);
           });
}

bool isNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool isNameChar(char c) {
    return isNameStart(c) || (c >= '0' && c <= '9');
}

const char* typeWord(FieldType type) {
    switch (type) {
        case FieldType::Character:
            return "character";
        case FieldType::Numeric:
        case FieldType::Float:
            return "numeric";
        case FieldType::Date:
            return "date";
        case FieldType::Logical:
            return "logical";
        case FieldType::Memo:
            return "memo";
        case FieldType::Other:
            break;
    }
    return "unsupported";
}

class Parser {
  public:
    Parser(std::string_view text, const std::vector<FieldInfo>& fields)
        : text_(text), fields_(fields) {}

    ParsedKey parse() {
        if (text_.size() > static_cast<std::size_t>(kMaxExpressionLength)) {
            fail("it is longer than " + std::to_string(kMaxExpressionLength) + " characters");
        }
        skipBlanks();
        if (atEnd()) fail("the expression is empty");
        Value v = parseSum();
        skipBlanks();
        if (!atEnd()) fail("unexpected " + here());
        if (!v.isText) {
            fail("the key must be character text, but " + describe(v) +
                 "; use STR() for numbers and DTOS() for dates");
        }
        if (v.length < 1) fail("the key is empty");
        if (v.length > kMaxKeyLength) {
            fail("the key would be " + std::to_string(v.length) + " bytes long, at most " +
                 std::to_string(kMaxKeyLength) + " are possible");
        }
        ParsedKey key;
        key.program.segments = std::move(v.segments);
        key.keyLength = v.length;
        if (v.field >= 0) key.bareField = v.field;
        return key;
    }

  private:
    [[noreturn]] void fail(const std::string& reason) const {
        throw EngineError("Unsupported index expression \"" + std::string(text_) + "\": " + reason);
    }

    bool atEnd() const { return pos_ >= text_.size(); }
    void skipBlanks() {
        while (!atEnd() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    }
    // Skips blanks and consumes `c` if it comes next.
    bool accept(char c) {
        skipBlanks();
        if (atEnd() || text_[pos_] != c) return false;
        ++pos_;
        return true;
    }
    // What stands at the current position, for messages.
    std::string here() const {
        if (atEnd()) return "end of expression";
        std::string where(1, '\'');
        where.push_back(text_[pos_]);
        where.append("' at position ").append(std::to_string(pos_ + 1));
        return where;
    }
    void expect(char c) {
        if (accept(c)) return;
        if (atEnd()) fail(std::string("missing '") + c + "'");
        fail(std::string("expected '") + c + "' but found " + here());
    }

    std::string describe(const Value& v) const {
        if (v.field >= 0) {
            const FieldInfo& f = fields_[static_cast<std::size_t>(v.field)];
            return f.name + " is a " + typeWord(f.type) + " field";
        }
        return v.isText ? "the argument is character text" : "the argument is not character text";
    }

    Value parseSum() {
        Value sum = parseTerm();
        while (accept('+')) {
            Value next = parseTerm();
            for (const Value* v : {&sum, &next}) {
                if (!v->isText) fail("'+' joins character text only, but " + describe(*v));
            }
            sum.segments.insert(sum.segments.end(), next.segments.begin(), next.segments.end());
            sum.length += next.length;
            sum.field = -1;
        }
        return sum;
    }

    Value parseTerm() {
        skipBlanks();
        if (accept('(')) {
            Value inner = parseSum();
            expect(')');
            return inner;
        }
        if (atEnd() || !isNameStart(text_[pos_])) fail("unexpected " + here());
        std::size_t start = pos_;
        while (!atEnd() && isNameChar(text_[pos_])) ++pos_;
        std::string_view name = text_.substr(start, pos_ - start);
        if (accept('(')) return parseCall(name);
        return fieldValue(name);
    }

    Value fieldValue(std::string_view name) {
        for (std::size_t i = 0; i < fields_.size(); ++i) {
            if (!sameName(fields_[i].name, name)) continue;
            const FieldInfo& f = fields_[i];
            Value v;
            v.field = static_cast<int>(i);
            if (f.type == FieldType::Character) {
                v.isText = true;
                v.length = f.length;
                v.segments.push_back(
                    KeySegment{KeySegment::Kind::Copy, f.offset, f.length, f.length, 0, 0, false});
            }
            return v;
        }
        fail("unknown field " + std::string(name));
    }

    int parseInteger(const char* what) {
        skipBlanks();
        bool negative = accept('-');
        skipBlanks();
        if (atEnd() || text_[pos_] < '0' || text_[pos_] > '9') {
            fail(std::string(what) + " must be a whole number, found " + here());
        }
        long long n = 0;
        while (!atEnd() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            n = std::min(n * 10 + (text_[pos_++] - '0'), 1000000LL);
        }
        return static_cast<int>(negative ? -n : n);
    }

    Value parseCall(std::string_view name) {
        std::string fn(name);
        std::transform(fn.begin(), fn.end(), fn.begin(), upperAscii);
        if (fn != "UPPER" && fn != "LEFT" && fn != "STR" && fn != "DTOS") {
            fail("unknown function " + std::string(name));
        }
        Value arg = parseSum();
        Value result;
        if (fn == "UPPER") {
            result = textArgument(fn, std::move(arg));
            for (KeySegment& s : result.segments) s.upper = true;
        } else if (fn == "LEFT") {
            result = textArgument(fn, std::move(arg));
            expect(',');
            int n = parseInteger("the LEFT length");
            if (n < 1) fail("the LEFT length must be at least 1");
            keepFirst(result, n);
        } else if (fn == "STR") {
            result = strOf(arg);
        } else {
            result = fieldArgument(fn, arg, FieldType::Date, "a date field");
            result.segments.back().kind = KeySegment::Kind::Dtos;
            result.segments.back().take = result.length = 8;
        }
        if (!atEnd() && accept(',')) fail("too many arguments for " + fn);
        expect(')');
        result.field = -1;
        return result;
    }

    Value textArgument(const std::string& fn, Value arg) const {
        if (!arg.isText) fail(fn + " needs character text, but " + describe(arg));
        return arg;
    }

    // A value with one segment reading `arg`, which must be a bare field of
    // type `type` (Float counts as Numeric).
    Value fieldArgument(const std::string& fn, const Value& arg, FieldType type,
                        const char* wanted) const {
        bool ok = arg.field >= 0 && !arg.isText;
        if (ok) {
            FieldType t = fields_[static_cast<std::size_t>(arg.field)].type;
            ok = t == type || (type == FieldType::Numeric && t == FieldType::Float);
        }
        if (!ok) fail(fn + " needs " + wanted + ", but " + describe(arg));
        const FieldInfo& f = fields_[static_cast<std::size_t>(arg.field)];
        Value v;
        v.isText = true;
        v.segments.push_back(
            KeySegment{KeySegment::Kind::Copy, f.offset, f.length, 0, 0, 0, false});
        return v;
    }

    Value strOf(const Value& arg) {
        Value v = fieldArgument("STR", arg, FieldType::Numeric, "a numeric field");
        int len = 10;
        int dec = 0;
        if (accept(',')) {
            len = parseInteger("the STR length");
            if (len < 1 || len > kMaxStrLength) {
                fail("the STR length must be between 1 and " + std::to_string(kMaxStrLength));
            }
            if (accept(',')) {
                dec = parseInteger("the STR decimals");
                if (dec < 0 || dec > len) fail("the STR decimals must be between 0 and the length");
            }
        }
        KeySegment& s = v.segments.back();
        s.kind = KeySegment::Kind::Str;
        s.strLen = s.take = v.length = len;
        s.strDec = dec;
        return v;
    }

    // LEFT: keeps the first `n` bytes of the text (all of it when shorter).
    static void keepFirst(Value& v, int n) {
        int kept = 0;
        std::size_t i = 0;
        for (; i < v.segments.size() && kept < n; ++i) {
            KeySegment& s = v.segments[i];
            s.take = std::min(s.take, n - kept);
            kept += s.take;
        }
        v.segments.resize(i);
        v.length = kept;
    }

    std::string_view text_;
    const std::vector<FieldInfo>& fields_;
    std::size_t pos_ = 0;
};

}  // namespace

ParsedKey parseKeyExpression(std::string_view text, const std::vector<FieldInfo>& fields) {
    return Parser(text, fields).parse();
}

}  // namespace engine
