// Reading and writing one field's bytes by type: the single place where field
// text, numbers and dates are decoded from and encoded into record bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/codepage.h"
#include "engine/field.h"

namespace engine {

bool isBlankField(std::string_view raw);
// `s` without its trailing blanks (code 32), skipped eight at a time.
std::string_view withoutTrailingBlanks(std::string_view s);
// See RecordView::text for the form of each type.
std::string fieldText(const FieldInfo& f, std::string_view raw, CodePage cp);
void fieldTextInto(const FieldInfo& f, std::string_view raw, CodePage cp, std::string& out);
std::optional<std::int64_t> fieldInteger(const FieldInfo& f, std::string_view raw);
std::optional<double> fieldNumber(const FieldInfo& f, std::string_view raw);
Date parseDateField(std::string_view raw);  // blank when blank, "00000000" or invalid
bool validDate(const Date& d);

// Encoders write exactly f.length bytes at `out`; they throw EngineError
// naming the field when the value cannot be stored without loss. Text longer
// than a character field is cut at the width; text with characters the code
// page cannot hold is refused, or with `standIns` stored with '?' for them
// (and `standInsUsed`, when given, set to whether that happened anywhere in
// the text, also past the width).
void encodeText(const FieldInfo& f, std::string_view utf8, CodePage cp, char* out,
                bool standIns = false, bool* standInsUsed = nullptr);
void encodeInteger(const FieldInfo& f, std::int64_t value, CodePage cp, char* out);
void encodeNumber(const FieldInfo& f, double value, CodePage cp, char* out);
void encodeDate(const FieldInfo& f, const Date& value, char* out);
void encodeBlank(const FieldInfo& f, char* out);

}  // namespace engine
