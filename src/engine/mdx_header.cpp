#include "engine/mdx_header.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <string>

#include "engine/mdx_layout.h"

namespace engine::mdx {
namespace {

constexpr int kSlotNameSize = 11;
constexpr int kExpressionField = 221;  // bytes 24..244 of the tag header

char* slotAt(MdxMapping& file, int i) {
    return file.base() + slot::kTagTable + slot::kLength * i;
}

std::string fieldText(const char* at, std::size_t size) {
    const void* nul = std::memchr(at, 0, size);
    return std::string(at, nul ? static_cast<const char*>(nul) - at : size);
}

// Hangs each tag (1-based slot numbers) in a binary search tree on its name,
// in slot order: bytes 16/17 name the "less"/"greater" children, 18 the parent.
void writeNameThreads(MdxMapping& file, const std::vector<TagSlot>& tags) {
    for (std::size_t i = 1; i < tags.size(); ++i) {
        std::size_t at = 0;
        for (;;) {
            const bool less = tags[i].info.name < tags[at].info.name;
            char* s = slotAt(file, int(at));
            const int side = less ? slot::kLess : slot::kGreater;
            if (s[side] == 0) {
                s[side] = char(i + 1);
                slotAt(file, int(i))[slot::kParent] = char(at + 1);
                break;
            }
            at = std::size_t(static_cast<unsigned char>(s[side])) - 1;
        }
    }
}

}  // namespace

void writeToday(char* at) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    at[0] = char(local.tm_year % 256);
    at[1] = char(local.tm_mon + 1);
    at[2] = char(local.tm_mday);
}

bool readTagHeader(const char* th, TagInfo& info) {
    if (std::memchr(th + tag::kExpression, 0, kExpressionField) == nullptr) return false;
    info.expression = fieldText(th + tag::kExpression, kExpressionField);
    info.keyType = th[tag::kKeyType];
    info.keyLength = get16(th + tag::kKeyLength);
    const auto format = static_cast<unsigned char>(th[tag::kKeyFormat]);
    info.descending = (format & tag::kDescendingFlag) != 0;
    info.unique = (format & tag::kUniqueFlag) != 0 || th[tag::kUnique] != 0;
    info.forExpression.clear();
    if (th[tag::kHasFilter] != 0) {
        info.forExpression = fieldText(th + tag::kFilter, tag::kFilterSize);
        // A filter flag without a readable filter still means a partial tag.
        if (info.forExpression.empty()) info.forExpression = "?";
    }
    return true;
}

std::string slotTagName(const char* slotBytes) {
    std::string name = fieldText(slotBytes + slot::kName, kSlotNameSize);
    const bool printable = std::all_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) > ' ' && static_cast<unsigned char>(c) < 0x7F;
    });
    if (!printable || name.size() > std::size_t(kMaxTagName)) name.clear();
    return name;
}

std::vector<TagSlot> readTagTable(MdxMapping& file) {
    const char* h = file.base();
    if (h[hdr::kVersion] != 2)
        file.notAnIndex("its version byte is " + std::to_string(std::uint8_t(h[hdr::kVersion])));
    if (get16(h + hdr::kBlockPages) != kPagesPerBlock || get16(h + hdr::kBlockBytes) != kBlockSize)
        file.notAnIndex("it does not use blocks of 1024 bytes");
    if (std::uint8_t(h[hdr::kSlotLength]) != slot::kLength)
        file.damaged("its tag table entries are not 32 bytes long");
    const int tagCount = get16(h + hdr::kTagsInUse);
    if (tagCount > kMaxTags)
        file.damaged("it lists " + std::to_string(tagCount) + " tags, more than " +
                     std::to_string(kMaxTags));
    const std::uint32_t pages = file.pageCount();
    // Another program sharing the index grows the file before it counts the
    // new pages: a count past the size seen at the open asks for the size again.
    if (std::uint64_t(pages) * kPageSize > file.fileSize()) file.refreshSize();
    if (pages < kFirstDataPage || std::uint64_t(pages) * kPageSize > file.fileSize())
        file.damaged("its header counts " + std::to_string(pages) + " pages but the file holds " +
                     std::to_string(file.fileSize() / kPageSize));

    std::vector<TagSlot> tags;
    for (int i = 0; i < tagCount; ++i) {
        const char* s = slotAt(file, i);
        TagSlot tag;
        tag.info.name = fieldText(s + slot::kName, kSlotNameSize);
        if (tag.info.name.empty() || tag.info.name.size() > std::size_t(kMaxTagName))
            file.damaged("tag " + std::to_string(i + 1) + " has no valid name");
        tag.headerPage = get32(s + slot::kHeaderPage);
        if (!file.blockInFile(tag.headerPage))
            file.damaged("the header of tag \"" + tag.info.name + "\" lies outside the file");
        if (!readTagHeader(file.page(tag.headerPage), tag.info))
            file.damaged("the expression of tag \"" + tag.info.name + "\" is not terminated");
        tags.push_back(std::move(tag));
    }
    return tags;
}

void writeNewFileHeader(MdxMapping& file, std::string_view tableName, std::uint8_t languageId) {
    char* h = file.base();
    std::memset(h, 0, kFirstDataPage * kPageSize);
    h[hdr::kVersion] = 2;
    writeToday(h + hdr::kCreated);
    const std::size_t nameLength = std::min<std::size_t>(tableName.size(), hdr::kTableNameSize - 1);
    for (std::size_t i = 0; i < nameLength; ++i) {
        const char c = tableName[i];
        h[hdr::kTableName + i] = (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
    }
    put16(h + hdr::kBlockPages, kPagesPerBlock);
    put16(h + hdr::kBlockBytes, kBlockSize);
    h[hdr::kProduction] = 1;
    h[hdr::kSlotCount] = kMaxTags + 1;
    h[hdr::kSlotLength] = slot::kLength;
    h[hdr::kLanguage] = char(languageId);
    put32(h + hdr::kPageCount, kFirstDataPage);
    writeToday(h + hdr::kUpdated);
    h[hdr::kSlot0Marker] = 1;
}

void writeTagTable(MdxMapping& file, const std::vector<TagSlot>& tags) {
    char* h = file.base();
    std::memset(h + slot::kTagTable, 0, std::size_t(kMaxTags) * slot::kLength);
    for (std::size_t i = 0; i < tags.size(); ++i) {
        char* s = slotAt(file, int(i));
        put32(s + slot::kHeaderPage, tags[i].headerPage);
        std::memcpy(s + slot::kName, tags[i].info.name.data(), tags[i].info.name.size());
        s[slot::kKeyFormat] = 0x10;
        s[slot::kReserved2] = 2;
        s[slot::kKeyType] = tags[i].info.keyType;
    }
    writeNameThreads(file, tags);
    put16(h + hdr::kTagsInUse, std::uint16_t(tags.size()));
    writeToday(h + hdr::kUpdated);
}

void writeTagHeader(MdxMapping& file, const TagSlot& tag, std::uint8_t counter) {
    const std::uint8_t languageId = std::uint8_t(file.base()[hdr::kLanguage]);
    char* t = file.page(tag.headerPage);
    std::memset(t, 0, kBlockSize);
    const int keyLength = tag.info.keyLength;
    const int itemLength = itemLengthFor(keyLength);
    t[tag::kKeyFormat] = 0x10;
    t[tag::kKeyType] = tag.info.keyType;
    t[tag::kLanguage] = char(languageId);
    put16(t + tag::kKeyLength, std::uint16_t(keyLength));
    put16(t + tag::kMaxKeys, std::uint16_t(maxKeysFor(itemLength)));
    put16(t + tag::kItemLength, std::uint16_t(itemLength));
    t[tag::kCounter] = char(counter);
    std::memcpy(t + tag::kExpression, tag.info.expression.data(), tag.info.expression.size());
    writeToday(t + tag::kDate);
}

}  // namespace engine::mdx
