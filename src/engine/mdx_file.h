// The dBase IV production index (.MDX): header, tag table, tag headers and
// B-tree pages of 1024-byte blocks, kept in a memory-mapped file.
//
// Contract:
//  - The MdxFile owns its file descriptor and mapping; the Table owns the MdxFile.
//  - Keys are fixed-length character keys (key type 'C'); leaf entries are
//    ordered by (key bytes as unsigned, record number).
//  - Every offset, count and page number read from disk is checked; a damaged
//    file raises EngineError, never crashes or loops.
//  - Changes are written straight into the shared mapping. beginChange()
//    marks the file as being changed and endChange() records the table's
//    record count and clears the mark, so a process killed between the two
//    leaves a file that consistentWith() rejects; the caller then rebuilds it.
//  - Bulk building keeps heap use to a few bytes a record: keys are staged in
//    the mapped file, not on the heap.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

struct TagInfo {
    std::string name;        // upper case, at most 10 characters
    std::string expression;  // as stored
    char keyType = 'C';      // 'C', 'N' or 'D'
    int keyLength = 0;
    // Options other dBase programs give a tag; this engine builds none of them.
    bool descending = false;
    bool unique = false;
    std::string forExpression;  // the FOR filter; empty when every record has a key
};

// Writes the key of record `recno` (1-based) into `out` (keyLength bytes).
using KeyProducer = std::function<void(std::uint32_t recno, char* out)>;

// Where a walk of one tag in key order stopped (see MdxFile::continueOrder).
// Any change to the index makes a walk in progress meaningless: start again.
struct OrderCursor {
    static constexpr int kMaxDepth = 16;
    int tag = -1;
    int depth = -1;  // -1: not started
    bool done = false;
    std::uint32_t budget = 0;  // nodes that may still be visited (cycle guard)
    std::uint32_t page[kMaxDepth] = {};
    std::uint32_t next[kMaxDepth] = {};  // next child to visit in each interior node
};

inline constexpr std::uint32_t kUnknownCount = 0xFFFFFFFFu;

class MdxFile {
public:
    // Opens an existing index. Throws EngineError naming the file when it is
    // not an MDX or is damaged.
    // With `checkEveryPage` off only the header, the tag headers and each
    // tag's root are checked now; deeper pages are checked when a walk or a
    // change reaches them (so a large index opens in constant time).
    // A writable open cuts off what lies past the used pages only with
    // `trimTail`, which needs the file to itself (exclusive use or the write
    // lock): another program sharing it may have grown it ahead and be
    // writing there.
    static std::unique_ptr<MdxFile> open(const std::string& path, bool writable,
                                         bool checkEveryPage = true, bool trimTail = true);
    // The tag definitions that can still be read from an index that does not
    // open (see mdx::salvageTags); never throws.
    static std::vector<TagInfo> salvageTags(const std::string& path);
    // Creates (replacing any file) an index with no tags for table `tableName`.
    static std::unique_ptr<MdxFile> create(const std::string& path, std::string_view tableName,
                                           std::uint8_t languageId);
    ~MdxFile();  // a writable file is cut to its exact size

    MdxFile(const MdxFile&) = delete;
    MdxFile& operator=(const MdxFile&) = delete;

    const std::string& path() const;
    const std::vector<TagInfo>& tags() const;
    int findTag(std::string_view name) const;  // case-insensitive; -1 when absent

    // Adds tag `name` (replacing a tag of that name) built from the keys of
    // records 1..recordCount. Throws EngineError when 47 tags exist, the name
    // is longer than 10 characters or the key is longer than 100 bytes.
    void addTag(const std::string& name, const std::string& expression, int keyLength,
                std::uint32_t recordCount, const KeyProducer& keyOf);
    void deleteTag(std::string_view name);  // no-op when absent
    // Rewrites the whole file compactly, every tag rebuilt from producerFor(tag).
    void rebuildAll(std::uint32_t recordCount,
                    const std::function<KeyProducer(const TagInfo&)>& producerFor);

    // Makes room in the file for one key added to every tag (the blocks the
    // splits may take), so a change can be refused on a full disk before it
    // starts; throws EngineError and leaves the file as it was.
    void reserveForChange();
    // Incremental maintenance of one tag (index into tags()). With `newest`
    // the caller vouches that `recno` is above every record number in the
    // tag (an appended record): the entry then goes after all equal keys
    // without their record numbers being looked up.
    void insertKey(int tag, const char* key, std::uint32_t recno, bool newest = false);
    // Returns false when (key, recno) is not in the tag.
    bool removeKey(int tag, const char* key, std::uint32_t recno);

    // Record numbers of tag `tag` in key order (appended to `out`).
    void collectOrder(int tag, std::vector<std::uint32_t>& out) const;
    // Resumable form of collectOrder: appends record numbers of `c`'s tag in
    // key order until at least `atLeast` more were added or the tag ends;
    // returns false once the whole tag has been walked. Checks every node it
    // reaches, as the other walks do.
    void beginOrder(int tag, OrderCursor& c) const;
    bool continueOrder(OrderCursor& c, std::vector<std::uint32_t>& out,
                       std::size_t atLeast) const;
    // Visits every (key, recno) in order; for tests and the command-line tool.
    void forEach(int tag, const std::function<void(std::string_view key, std::uint32_t recno)>&
                              visit) const;
    // Checks the tree of `tag`: node counts, keys in order, interior keys equal
    // to their subtree's largest key. Throws EngineError describing the fault.
    void verify(int tag) const;

    // Crash-consistency stamp (see the contract above). The stamp also keeps
    // how many of the table's records are marked deleted, when the caller
    // knows (kUnknownCount otherwise), so an open need not read every record
    // to find out.
    void beginChange();
    void endChange(std::uint32_t tableRecordCount, std::uint32_t deletedCount = kUnknownCount);
    bool consistentWith(std::uint32_t tableRecordCount) const;
    // True when this engine wrote the file (it carries the stamp).
    bool stamped() const;
    // Stamped, but marked as being changed or stamped for another record
    // count: a change was cut short, or the table changed without the index.
    bool interrupted(std::uint32_t tableRecordCount) const {
        return stamped() && !consistentWith(tableRecordCount);
    }
    std::uint32_t stampedDeletedCount() const;  // kUnknownCount when not known

private:
    MdxFile();
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace engine
