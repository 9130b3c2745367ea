// Parsing, checking and writing the .DBF file header and field descriptors.
//
// parseDbfHeader() checks everything it reads against the file size before
// use and raises EngineError naming the file for a damaged or foreign file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/codepage.h"
#include "engine/field.h"

namespace engine {

inline constexpr std::size_t kDbfHeaderPrefix = 32;
inline constexpr std::size_t kDbfDescriptorSize = 32;
inline constexpr std::uint8_t kDbfVersionNoMemo = 0x03;
inline constexpr std::size_t kDbfCountOffset = 4;
inline constexpr std::size_t kDbfMdxFlagOffset = 28;
inline constexpr std::size_t kDbfLanguageOffset = 29;

struct DbfLayout {
    std::uint8_t version = kDbfVersionNoMemo;
    std::uint32_t recordCount = 0;  // as usable: never more than the file holds
    std::uint32_t headerLength = 0;
    std::uint32_t recordLength = 0;
    std::uint8_t mdxFlag = 0;
    std::uint8_t languageDriver = 0;
    CodePage codePage = CodePage::Cp1252;
    bool hasMemo = false;
    std::vector<FieldInfo> fields;
};

// Reads the header from the first `size` bytes of a file of `fileSize` bytes
// (`size` may be less than the file when only the header was read).
DbfLayout parseDbfHeader(const unsigned char* data, std::size_t size, std::uint64_t fileSize,
                         const std::string& path);

// Checks caller-given definitions (names, types, widths); throws EngineError.
void validateFieldDefs(const std::vector<FieldDef>& defs);

// Complete header bytes (prefix, descriptors, 0x0D) for a new empty table.
std::string buildDbfHeader(const std::vector<FieldDef>& defs, std::uint8_t languageDriver,
                           int year, int month, int day);

// Today's date as year, month, day (local time).
void todayDate(int& year, int& month, int& day);

}  // namespace engine
