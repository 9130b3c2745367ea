// The pictures of exports and imports over the picture store (picture_transfer.h says what the
// runs ask of them; pictures/picture_store.h what the store is).
//
// Export to a dBase table: the pictures of the exported stamps go into a store beside the new
// table ("<table name>-pictures/"), linked to the records' numbers in the new table with the
// fingerprints of the new records. The store is built under a hidden name beside its place and
// swapped in only once the table is in place; a run that fails or stops leaves the old table and
// its store as they were. A replaced table's old store goes with it, even when the new table has
// no pictures (its links would name records of the old one).
//
// Export to a text file: each stamp's pictures are copied into the folder "<file name>-pictures/"
// beside the exported file (the name without its extension; "<file name>-text-pictures/" when a
// collection of that name keeps its own store in the first one), under their stored names (by
// content, so the same picture is copied once and an existing copy is kept). Nothing else in the
// folder is touched; a run that fails removes the copies it made.
//
// Export to Tellico: the stamps' pictures with their size in pixels, read from the store.
//
// Import: pictures are checked and written into the collection's store as they come, and linked
// to their records with one write of the index at the end (finish()), with the fingerprints of the
// new records. A name that is missing or no picture is counted and named, never fatal.
#pragma once

#include <QString>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "interchange/export_run.h"
#include "interchange/picture_transfer.h"
#include "pictures/picture_store.h"

namespace interchange {

// The folder beside a text export that takes its pictures (absolute, no trailing "/").
QString textExportPictureFolder(const QString& exportPath);

class StoreExportPictures : public ExportPictures {
  public:
    // Pictures of the collection whose table is `sourceTable`, for an export to `target`.
    StoreExportPictures(const QString& sourceTable, const QString& target, ExportKind kind);
    ~StoreExportPictures() override;

    std::string column(std::uint32_t recno) override;
    void carried(std::uint32_t recno, std::uint32_t newRecno) override;
    std::vector<ExportedPicture> pictures(std::uint32_t recno) override;
    int mostPictures() override;
    void stage(engine::Table* written) override;
    void putInPlace() override;
    const PictureTally& outcome() const override { return outcome_; }

  private:
    // True when the stored file of `p` can be read; otherwise it is counted as missing.
    bool readable(const pictures::Picture& p);

    pictures::PictureStore store_;
    ExportKind kind_;
    QString target_;
    // Text: the folder, the name it goes by in the column, the files this run put there.
    QString folder_;
    QString folderName_;
    bool madeFolder_ = false;
    std::set<QString> copied_;
    std::vector<QString> created_;
    // dBase: record pairs, and the store built beside the new table.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> carried_;
    QString staged_;
    bool done_ = false;
    PictureTally outcome_;
    std::set<QString> missingFiles_;
};

class StoreImportPictures : public ImportPictures {
  public:
    // Pictures for the collection whose table is `tablePath`, named relative to `sourcePath`.
    StoreImportPictures(const QString& tablePath, const QString& sourcePath);

    void addNamed(const engine::Table& table, std::uint32_t recno,
                  std::string_view column) override;
    void addBytes(const engine::Table& table, std::uint32_t recno, const QByteArray& bytes,
                  const QString& name) override;
    void missed(const std::string& name) override;
    void finish() override;
    const PictureTally& outcome() const override { return outcome_; }

  private:
    void link(const engine::Table& table, std::uint32_t recno, const QString& file,
              const QString& name);

    pictures::PictureStore store_;
    QString sourceFolder_;
    std::vector<pictures::PictureStore::NewLink> links_;
    PictureTally outcome_;
};

// How many missing pictures a completion message names.
inline constexpr std::size_t kMissingPicturesNamed = 20;

}  // namespace interchange
