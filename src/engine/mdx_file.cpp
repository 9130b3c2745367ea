#include "engine/regular_file.h"
#include "engine/mdx_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "engine/error.h"
#include "engine/mdx_header.h"
#include "engine/mdx_layout.h"
#include "engine/mdx_mapping.h"
#include "engine/mdx_tree.h"

namespace engine {

using mdx::MdxMapping;
using mdx::MdxTree;
using mdx::TagSlot;

struct MdxFile::Impl {
    std::unique_ptr<MdxMapping> file;
    std::vector<TagSlot> slots;
    std::vector<TagInfo> tags;  // mirror of slots[i].info for tags()
    std::vector<MdxTree> trees;
    // A key change stopped halfway: the trees may lack or repeat an entry, so
    // the file stays marked as being changed until it is rebuilt.
    bool changeFailed = false;
    // Keys reserveForChange() has made room for since the last endChange():
    // keys gathered for a batch go in later, so the room is made for all of
    // them together.
    std::uint32_t reservedKeys = 0;

    void loadTrees() {
        trees.clear();
        tags.clear();
        for (TagSlot& s : slots) {
            trees.emplace_back(*file, s.headerPage, s.info.name);
            s.info.keyLength = trees.back().keyLength();
            tags.push_back(s.info);
        }
    }

    const MdxTree& tree(int tag) const {
        if (tag < 0 || std::size_t(tag) >= trees.size())
            throw EngineError("The index file \"" + file->path() + "\" has no tag number " +
                              std::to_string(tag + 1));
        return trees[std::size_t(tag)];
    }
    MdxTree& changeableTree(int tag) {
        file->requireWritable();
        (void)tree(tag);  // range check
        MdxTree& t = trees[std::size_t(tag)];
        if (t.keyType() != 'C')
            throw EngineError("The tag \"" + tags[std::size_t(tag)].name +
                              "\" of the index file \"" + file->path() +
                              "\" does not hold character keys");
        markChanging();
        return t;
    }

    void markChanging() {
        char* h = file->base();
        if (h[mdx::hdr::kStampChanging] == 1) return;
        std::memcpy(h + mdx::hdr::kStampMagic, mdx::hdr::kMagic, sizeof mdx::hdr::kMagic);
        h[mdx::hdr::kStampChanging] = 1;
    }

    // Drops the tag at `index` from the tag table (its blocks become unused)
    // and cuts unused blocks off the end of the file.
    void dropTag(std::size_t index) {
        slots.erase(slots.begin() + std::ptrdiff_t(index));
        trees.erase(trees.begin() + std::ptrdiff_t(index));
        tags.erase(tags.begin() + std::ptrdiff_t(index));
        mdx::writeTagTable(*file, slots);
        std::uint32_t end = mdx::kFirstDataPage;
        for (const MdxTree& t : trees) end = std::max(end, t.endPage());
        if (end < file->pageCount()) file->cutToPages(end);
    }
};

MdxFile::MdxFile() : impl_(std::make_unique<Impl>()) {}
MdxFile::~MdxFile() = default;

std::unique_ptr<MdxFile> MdxFile::open(const std::string& path, bool writable,
                                       bool checkEveryPage, bool trimTail) {
    std::unique_ptr<MdxFile> mdx(new MdxFile());
    Impl& d = *mdx->impl_;
    d.file = std::make_unique<MdxMapping>(path, writable);
    d.slots = mdx::readTagTable(*d.file);
    d.loadTrees();
    for (const MdxTree& t : d.trees) {
        if (checkEveryPage)
            t.walkLeaves([](const char*, std::uint32_t) {});
        else
            t.checkRoot();
    }
    const std::uint32_t pages = d.file->pageCount();
    if (writable && trimTail && std::uint64_t(pages) * mdx::kPageSize < d.file->fileSize())
        d.file->cutToPages(pages);  // whatever lies past the used pages is not ours
    return mdx;
}

std::vector<TagInfo> MdxFile::salvageTags(const std::string& path) {
    std::vector<TagInfo> tags;
    int fd = -1;
    try {
        fd = openRegularFile(path, O_RDONLY);
    } catch (const EngineError&) {
        return tags;  // not a file: nothing to salvage
    }
    if (fd < 0) return tags;
    struct stat st {};
    std::string head(std::size_t(mdx::kFirstDataPage) * mdx::kPageSize, '\0');
    std::string block(mdx::kBlockSize, '\0');
    if (::fstat(fd, &st) == 0 && ::pread(fd, head.data(), head.size(), 0) == ssize_t(head.size())) {
        const int count =
            std::min<int>(mdx::get16(head.data() + mdx::hdr::kTagsInUse), mdx::kMaxTags);
        for (int i = 0; i < count; ++i) {
            const char* slot = head.data() + mdx::slot::kTagTable + mdx::slot::kLength * i;
            TagInfo info;
            info.name = mdx::slotTagName(slot);
            if (info.name.empty()) continue;
            // The definition lives in the tag header; without it only the name is left.
            const off_t at = off_t(mdx::get32(slot + mdx::slot::kHeaderPage)) * mdx::kPageSize;
            if (at < off_t(head.size()) || at + off_t(block.size()) > st.st_size ||
                ::pread(fd, block.data(), block.size(), at) != ssize_t(block.size()) ||
                !mdx::readTagHeader(block.data(), info))
                info.expression.clear();
            tags.push_back(std::move(info));
        }
    }
    ::close(fd);
    return tags;
}

std::unique_ptr<MdxFile> MdxFile::create(const std::string& path, std::string_view tableName,
                                         std::uint8_t languageId) {
    std::unique_ptr<MdxFile> mdx(new MdxFile());
    Impl& d = *mdx->impl_;
    d.file =
        std::make_unique<MdxMapping>(path, std::uint64_t(mdx::kFirstDataPage) * mdx::kPageSize);
    mdx::writeNewFileHeader(*d.file, tableName, languageId);
    return mdx;
}

const std::string& MdxFile::path() const {
    return impl_->file->path();
}
const std::vector<TagInfo>& MdxFile::tags() const {
    return impl_->tags;
}

int MdxFile::findTag(std::string_view name) const {
    const auto& tags = impl_->tags;
    for (std::size_t i = 0; i < tags.size(); ++i) {
        const std::string& t = tags[i].name;
        if (t.size() == name.size() &&
            std::equal(t.begin(), t.end(), name.begin(), [](char a, char b) {
                return std::toupper(static_cast<unsigned char>(a)) ==
                       std::toupper(static_cast<unsigned char>(b));
            }))
            return int(i);
    }
    return -1;
}

void MdxFile::addTag(const std::string& name, const std::string& expression, int keyLength,
                     std::uint32_t recordCount, const KeyProducer& keyOf) {
    Impl& d = *impl_;
    d.file->requireWritable();
    const std::string where = " in the index file \"" + path() + "\"";
    if (name.empty() || name.size() > std::size_t(mdx::kMaxTagName) ||
        name.find('\0') != std::string::npos)
        throw EngineError("The tag name \"" + name + "\" is not valid" + where);
    if (keyLength < 1 || keyLength > mdx::kMaxKeyLength)
        throw EngineError("The key of tag \"" + name + "\" is " + std::to_string(keyLength) +
                          " bytes long; an index key holds 1 to 100 bytes");
    if (expression.size() > std::size_t(mdx::kMaxExpression) ||
        expression.find('\0') != std::string::npos)
        throw EngineError("The expression of tag \"" + name + "\" is longer than " +
                          std::to_string(mdx::kMaxExpression) + " characters");
    int position = findTag(name);
    if (position < 0 && d.slots.size() >= std::size_t(mdx::kMaxTags))
        throw EngineError("No more tags can be added" + where + ": it holds 47");
    d.markChanging();

    std::uint8_t counter = 1;
    if (position >= 0) {
        const char* oldHeader = d.file->page(d.slots[std::size_t(position)].headerPage);
        counter = std::uint8_t(oldHeader[mdx::tag::kCounter] + 1);
        d.dropTag(std::size_t(position));
    } else {
        position = int(d.slots.size());
    }

    TagSlot slot;
    slot.info.name = name;
    for (char& c : slot.info.name) c = char(std::toupper(static_cast<unsigned char>(c)));
    slot.info.expression = expression;
    slot.info.keyType = 'C';
    slot.info.keyLength = keyLength;
    const std::uint32_t before = d.file->pageCount();
    try {
        slot.headerPage = d.file->allocateBlocks(1);
        mdx::writeTagHeader(*d.file, slot, counter);
        MdxTree tree(*d.file, slot.headerPage, slot.info.name);
        tree.build(recordCount, keyOf);
        const auto at = std::ptrdiff_t(position);
        d.slots.insert(d.slots.begin() + at, slot);
        d.tags.insert(d.tags.begin() + at, slot.info);
        d.trees.insert(d.trees.begin() + at, tree);
    } catch (...) {
        d.file->cutToPages(before);
        throw;
    }
    mdx::writeTagTable(*d.file, d.slots);
}

void MdxFile::deleteTag(std::string_view name) {
    const int position = findTag(name);
    if (position < 0) return;
    impl_->file->requireWritable();
    impl_->markChanging();
    impl_->dropTag(std::size_t(position));
}

void MdxFile::rebuildAll(std::uint32_t recordCount,
                         const std::function<KeyProducer(const TagInfo&)>& producerFor) {
    Impl& d = *impl_;
    d.file->requireWritable();
    d.markChanging();
    std::vector<std::uint8_t> counters;
    for (const TagSlot& s : d.slots)
        counters.push_back(std::uint8_t(d.file->page(s.headerPage)[mdx::tag::kCounter] + 1));
    d.trees.clear();
    // The new tag headers go to the first blocks after the tag table. When no
    // other tag's header lies there, they are written before the file is cut:
    // at every instant each slot names a header holding its definition, so a
    // process killed during the rebuild leaves tags that can be rebuilt.
    const std::uint32_t headersEnd =
        mdx::kFirstDataPage + std::uint32_t(d.slots.size()) * mdx::kPagesPerBlock;
    bool headersFirst = d.file->pageCount() >= headersEnd;
    for (std::size_t i = 0; i < d.slots.size(); ++i) {
        const std::uint32_t page = d.slots[i].headerPage;
        if (page >= mdx::kFirstDataPage && page < headersEnd &&
            page != mdx::kFirstDataPage + std::uint32_t(i) * mdx::kPagesPerBlock)
            headersFirst = false;
    }
    if (!headersFirst) d.file->cutToPages(mdx::kFirstDataPage);
    mdx::writeToday(d.file->base() + mdx::hdr::kCreated);
    try {
        for (std::size_t i = 0; i < d.slots.size(); ++i) {
            d.slots[i].headerPage =
                headersFirst ? mdx::kFirstDataPage + std::uint32_t(i) * mdx::kPagesPerBlock
                             : d.file->allocateBlocks(1);
            mdx::writeTagHeader(*d.file, d.slots[i], counters[i]);
        }
        mdx::writeTagTable(*d.file, d.slots);
        if (headersFirst) d.file->cutToPages(headersEnd);
        for (std::size_t i = 0; i < d.slots.size(); ++i) {
            MdxTree tree(*d.file, d.slots[i].headerPage, d.slots[i].info.name);
            tree.build(recordCount, producerFor(d.slots[i].info));
            d.trees.push_back(tree);
        }
    } catch (...) {
        // Leave a valid file without tags rather than tags without trees.
        d.slots.clear();
        d.tags.clear();
        d.trees.clear();
        mdx::writeTagTable(*d.file, d.slots);
        d.file->cutToPages(mdx::kFirstDataPage);
        throw;
    }
    mdx::writeTagTable(*d.file, d.slots);
    d.changeFailed = false;
}

void MdxFile::reserveForChange() {
    Impl& d = *impl_;
    d.file->requireWritable();
    // Each key can split its leaf; a quarter more for the interior levels
    // those splits fill, and a split of every level up to a new root.
    const std::uint32_t keys = d.reservedKeys + 1;
    std::uint64_t blocks = 0;
    for (const MdxTree& t : d.trees)
        blocks += std::uint64_t(keys) + keys / 4 + std::uint32_t(t.height()) + 1;
    if (blocks > 0x3FFFFFFFu)
        throw EngineError("The index file \"" + path() + "\" is too large");
    d.file->reserveBlocks(std::uint32_t(blocks));
    d.reservedKeys = keys;
}

void MdxFile::insertKey(int tag, const char* key, std::uint32_t recno, bool newest) {
    try {
        impl_->changeableTree(tag).insert(key, recno, newest);
    } catch (...) {
        impl_->changeFailed = true;
        throw;
    }
}

bool MdxFile::removeKey(int tag, const char* key, std::uint32_t recno) {
    try {
        return impl_->changeableTree(tag).remove(key, recno);
    } catch (...) {
        impl_->changeFailed = true;
        throw;
    }
}

void MdxFile::collectOrder(int tag, std::vector<std::uint32_t>& out) const {
    const MdxTree& t = impl_->tree(tag);
    const std::size_t il = std::size_t(t.itemLength());
    t.walkLeaves([&](const char* items, std::uint32_t count) {
        for (std::uint32_t i = 0; i < count; ++i) out.push_back(mdx::get32(items + i * il));
    });
}

void MdxFile::forEach(int tag,
                      const std::function<void(std::string_view, std::uint32_t)>& visit) const {
    const MdxTree& t = impl_->tree(tag);
    const std::size_t il = std::size_t(t.itemLength());
    const std::size_t kl = std::size_t(t.keyLength());
    t.walkLeaves([&](const char* items, std::uint32_t count) {
        for (std::uint32_t i = 0; i < count; ++i) {
            const char* item = items + i * il;
            visit(std::string_view(item + 4, kl), mdx::get32(item));
        }
    });
}

void MdxFile::verify(int tag) const {
    impl_->tree(tag).verify();
}

void MdxFile::beginChange() {
    impl_->file->requireWritable();
    impl_->markChanging();
}

void MdxFile::endChange(std::uint32_t tableRecordCount, std::uint32_t deletedCount) {
    impl_->file->requireWritable();
    impl_->reservedKeys = 0;
    if (impl_->changeFailed) return;  // left marked: the next open rebuilds it
    char* h = impl_->file->base();
    std::memcpy(h + mdx::hdr::kStampMagic, mdx::hdr::kMagic, sizeof mdx::hdr::kMagic);
    mdx::put32(h + mdx::hdr::kStampCount, tableRecordCount);
    mdx::put32(h + mdx::hdr::kStampDeleted, deletedCount);
    h[mdx::hdr::kStampChanging] = 0;
}

std::uint32_t MdxFile::stampedDeletedCount() const {
    const char* h = impl_->file->base();
    if (std::memcmp(h + mdx::hdr::kStampMagic, mdx::hdr::kMagic, sizeof mdx::hdr::kMagic) != 0)
        return kUnknownCount;
    return mdx::get32(h + mdx::hdr::kStampDeleted);
}

void MdxFile::beginOrder(int tag, OrderCursor& c) const {
    impl_->tree(tag);  // checks the tag number
    c = OrderCursor{};
    c.tag = tag;
}

bool MdxFile::continueOrder(OrderCursor& c, std::vector<std::uint32_t>& out,
                            std::size_t atLeast) const {
    if (c.done) return false;
    return impl_->tree(c.tag).walkOrder(c, out, atLeast);
}

bool MdxFile::stamped() const {
    const char* h = impl_->file->base();
    return std::memcmp(h + mdx::hdr::kStampMagic, mdx::hdr::kMagic, sizeof mdx::hdr::kMagic) == 0;
}

bool MdxFile::consistentWith(std::uint32_t tableRecordCount) const {
    const char* h = impl_->file->base();
    return stamped() && h[mdx::hdr::kStampChanging] == 0 &&
           mdx::get32(h + mdx::hdr::kStampCount) == tableRecordCount;
}

}  // namespace engine
