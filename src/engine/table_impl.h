// Private state of engine::Table, shared by its implementation files
// (table.cpp: cursor and editing; table_index.cpp: tags and maintenance).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/dbf_file.h"
#include "engine/expression.h"
#include "engine/mdx_file.h"
#include "engine/table.h"

namespace engine {

struct Table::Impl {
    DbfFile dbf;
    OpenMode mode = OpenMode::Shared;
    std::string path;
    std::string mdxPath;
    std::unique_ptr<MdxFile> mdx;
    std::vector<std::optional<KeyExpression>> exprs;  // parallel to mdx->tags()
    std::string selectedName;                         // upper case; empty = record order
    int selectedTag = -1;
    bool indexTrusted = true;  // false: a read-only table whose index disagrees
    // Size of the index file when this table last changed or mapped it; another
    // program sharing the table that grew or cut the file changes it.
    std::uint64_t mdxSizeSeen = 0;

    RecordFilter filter;
    std::vector<std::uint32_t> order;
    bool orderValid = false;

    std::uint32_t cur = 0;  // current physical record, 0 none
    std::int64_t pos = -1;  // ordinal of cur in order, -1 unknown
    bool atStart = false;  // cursor not placed yet: first use goes to the first record
    bool eof = true;
    bool bof = true;

    EditState state = EditState::Browse;
    std::string buffer;
    std::uint32_t editRecno = 0;
    std::string keyNew, keyOld;

    // table_index.cpp
    void openIndex();
    // Maps the index afresh (shared opens only); the caller holds the write lock.
    void reloadIndex();
    std::uint64_t indexFileSize() const;  // 0 when there is none
    void compileTagExpressions();
    void rebuildIndex();
    void resolveSelected();
    void updateFieldIndexFlags();
    void collectTagOrder(std::vector<std::uint32_t>& out);
    KeyProducer producerFor(const KeyExpression& e);

    // table.cpp
    void ensureOrder();
    void settle();
    void prefetchAhead() const;  // places a cursor left at its start by open()
    void invalidateOrder() { orderValid = false; pos = -1; }
    void syncWithDisk();
    bool accepted(std::uint32_t recno) const;
    void requireOpen() const;
    void requireEditing() const;
    void requireWritable() const;
    int checkField(int field) const;
    char* fieldPtr(int field);
};

// Holds a shared table exclusively for the life of the scope, or throws the
// in-use error.
class ExclusiveUse {
public:
    explicit ExclusiveUse(DbfFile& f);
    ~ExclusiveUse();

private:
    DbfFile& f_;
};

}  // namespace engine
