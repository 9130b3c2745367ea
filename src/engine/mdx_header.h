// The index file header (page 0), the tag table (pages 1-3) and tag header
// blocks: reading with validation, and writing.
//
// Contract: functions work on a mapping they do not own. Readers check every
// value they return and raise the file's EngineError ("not an index file" for
// a wrong version or block size, "damaged" for inconsistent contents).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/mdx_file.h"
#include "engine/mdx_mapping.h"

namespace engine::mdx {

struct TagSlot {
    TagInfo info;
    std::uint32_t headerPage = 0;
};

// Validates the file header and returns the tags in slot order (names, key
// types, expressions and header pages; key lengths are left to MdxTree).
// Reads the file size again when the header counts more pages than it held.
std::vector<TagSlot> readTagTable(MdxMapping& file);

// Reads the expression, key type, key length and options of a tag from its
// header block `th` into `info`; false when the expression is not terminated.
bool readTagHeader(const char* th, TagInfo& info);
// The tag name in tag table slot `slotBytes`; empty unless it is 1 to 10
// printable characters.
std::string slotTagName(const char* slotBytes);

// Writes the header of a new, empty index (page count 4, no tags).
void writeNewFileHeader(MdxMapping& file, std::string_view tableName, std::uint8_t languageId);
// Rewrites the whole tag table from `tags`, with the tag-name search tree
// threads, the tag count and today's update date.
void writeTagTable(MdxMapping& file, const std::vector<TagSlot>& tags);
// Fills the tag header block of `tag` for an empty tree (its root is set by
// the build).
void writeTagHeader(MdxMapping& file, const TagSlot& tag, std::uint8_t counter);
// Today's date as YY MM DD (year - 1900) at `at`.
void writeToday(char* at);

}  // namespace engine::mdx
