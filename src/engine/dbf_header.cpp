#include "engine/dbf_header.h"

#include <cctype>
#include <cstring>
#include <ctime>
#include <set>

#include "engine/error.h"

namespace engine {

namespace {

std::uint32_t u32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
std::uint16_t u16(const unsigned char* p) { return std::uint16_t(p[0] | p[1] << 8); }

[[noreturn]] void damaged(const std::string& path, const std::string& why) {
    throw EngineError("The table \"" + path + "\" is not a readable dBase table: " + why + ".");
}

bool knownVersion(std::uint8_t v) {
    switch (v) {
        case 0x02: case 0x03: case 0x04: case 0x05: case 0x30: case 0x31: case 0x32:
        case 0x43: case 0x63: case 0x83: case 0x8B: case 0x8E: case 0xCB: case 0xF5:
        case 0xFB:
            return true;
        default:
            return false;
    }
}

FieldType typeOf(char letter) {
    switch (std::toupper(static_cast<unsigned char>(letter))) {
        case 'C': return FieldType::Character;
        case 'N': return FieldType::Numeric;
        case 'F': return FieldType::Float;
        case 'D': return FieldType::Date;
        case 'L': return FieldType::Logical;
        case 'M': return FieldType::Memo;
        default: return FieldType::Other;
    }
}

std::string upper(std::string s) {
    for (auto& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

DbfLayout parseDbfHeader(const unsigned char* d, std::size_t size, std::uint64_t fileSize,
                         const std::string& path) {
    if (size < kDbfHeaderPrefix || fileSize < kDbfHeaderPrefix)
        damaged(path, "the file is shorter than a table header");
    DbfLayout L;
    L.version = d[0];
    if (!knownVersion(L.version)) damaged(path, "unknown file type byte");
    if (d[15] != 0) damaged(path, "the table is encrypted");
    L.hasMemo = (L.version & 0x80) != 0 || L.version == 0x30 || L.version == 0x31 ||
                L.version == 0x32;
    std::uint32_t count = u32(d + 4);
    L.headerLength = u16(d + 8);
    L.recordLength = u16(d + 10);
    L.mdxFlag = d[28];
    L.languageDriver = d[29];
    L.codePage = codePageForLanguageDriver(L.languageDriver);
    if (L.headerLength < kDbfHeaderPrefix + 1) damaged(path, "the header length is too small");
    if (L.headerLength > fileSize) damaged(path, "the header is longer than the file");
    if (L.headerLength > size) damaged(path, "the header is truncated");

    // Field descriptors run up to the 0x0D terminator.
    std::size_t pos = kDbfHeaderPrefix;
    std::uint32_t offset = 1;
    std::set<std::string> names;
    for (;;) {
        if (pos >= L.headerLength) damaged(path, "the field list has no terminator");
        if (d[pos] == 0x0D) break;
        if (pos + kDbfDescriptorSize > L.headerLength)
            damaged(path, "the field descriptors run past the header");
        const unsigned char* f = d + pos;
        FieldInfo fi;
        std::size_t n = 0;
        while (n < 11 && f[n] != 0) ++n;
        fi.name.assign(reinterpret_cast<const char*>(f), n);
        while (!fi.name.empty() && fi.name.back() == ' ') fi.name.pop_back();
        if (fi.name.empty()) damaged(path, "a field has no name");
        fi.typeLetter = char(f[11]);
        fi.type = typeOf(fi.typeLetter);
        fi.length = f[16];
        fi.decimals = f[17];
        if (fi.type == FieldType::Character && (L.version == 0x30 || L.version == 0xF5 ||
                                                 L.version == 0x02 || L.version == 0xFB))
            fi.length += fi.decimals * 256;  // FoxPro/Clipper wide character fields
        if (fi.type == FieldType::Character) fi.decimals = 0;
        if (fi.length <= 0) damaged(path, "field " + fi.name + " has no width");
        fi.offset = int(offset);
        offset += std::uint32_t(fi.length);
        if (!names.insert(upper(fi.name)).second)
            damaged(path, "the field name " + fi.name + " appears twice");
        L.fields.push_back(std::move(fi));
        pos += kDbfDescriptorSize;
        if (L.fields.size() > 2048) damaged(path, "too many fields");
    }
    if (L.fields.empty()) damaged(path, "the table has no fields");
    if (offset != L.recordLength)
        damaged(path, "the record length " + std::to_string(L.recordLength) +
                          " does not match the fields (" + std::to_string(offset) + ")");
    std::uint64_t room = fileSize - L.headerLength;
    std::uint64_t physical = room / L.recordLength;
    if (count > physical)
        damaged(path, "the header counts " + std::to_string(count) +
                          " records but the file holds " + std::to_string(physical));
    L.recordCount = count;
    return L;
}

void validateFieldDefs(const std::vector<FieldDef>& defs) {
    if (defs.empty()) throw EngineError("A table needs at least one field.");
    if (defs.size() > 255) throw EngineError("A dBase table holds at most 255 fields.");
    std::set<std::string> names;
    long total = 1;
    for (const auto& f : defs) {
        const std::string& n = f.name;
        bool ok = !n.empty() && n.size() <= 10 && std::isalpha(static_cast<unsigned char>(n[0]));
        for (char c : n)
            if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) ok = false;
        if (!ok) throw EngineError("Invalid field name \"" + n + "\".");
        if (!names.insert(upper(n)).second)
            throw EngineError("The field name \"" + n + "\" appears twice.");
        const std::string what = "Field " + upper(n) + ": ";
        switch (f.type) {
            case FieldType::Character:
                if (f.length < 1 || f.length > 254)
                    throw EngineError(what + "a character field is 1 to 254 wide.");
                break;
            case FieldType::Numeric:
            case FieldType::Float:
                if (f.length < 1 || f.length > 20)
                    throw EngineError(what + "a numeric field is 1 to 20 wide.");
                if (f.decimals < 0 || (f.decimals > 0 && f.decimals > f.length - 2))
                    throw EngineError(what + "too many decimals for the width.");
                break;
            case FieldType::Date:
                if (f.length != 8) throw EngineError(what + "a date field is 8 wide.");
                break;
            case FieldType::Logical:
                if (f.length != 1) throw EngineError(what + "a logical field is 1 wide.");
                break;
            default:
                throw EngineError(what + "unsupported field type.");
        }
        total += f.length;
    }
    if (total > 65535) throw EngineError("The record is longer than a dBase table allows.");
}

std::string buildDbfHeader(const std::vector<FieldDef>& defs, std::uint8_t languageDriver,
                           int year, int month, int day) {
    std::size_t headerLength = kDbfHeaderPrefix + kDbfDescriptorSize * defs.size() + 1;
    std::string h(headerLength, '\0');
    std::uint32_t recordLength = 1;
    for (const auto& f : defs) recordLength += std::uint32_t(f.length);
    h[0] = char(kDbfVersionNoMemo);
    h[1] = char(year - 1900);
    h[2] = char(month);
    h[3] = char(day);
    h[8] = char(headerLength & 0xFF);
    h[9] = char(headerLength >> 8);
    h[10] = char(recordLength & 0xFF);
    h[11] = char(recordLength >> 8);
    h[29] = char(languageDriver);
    std::size_t pos = kDbfHeaderPrefix;
    for (const auto& f : defs) {
        std::string name = upper(f.name);
        std::memcpy(&h[pos], name.data(), name.size());
        h[pos + 11] = char(f.type);
        h[pos + 16] = char(f.length);
        h[pos + 17] = char((f.type == FieldType::Numeric || f.type == FieldType::Float)
                               ? f.decimals
                               : 0);
        pos += kDbfDescriptorSize;
    }
    h[pos] = 0x0D;
    return h;
}

void todayDate(int& year, int& month, int& day) {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    year = tm.tm_year + 1900;
    month = tm.tm_mon + 1;
    day = tm.tm_mday;
}

}  // namespace engine
