// FingerprintFollower: keeps the fingerprints of picture links with their records while this
// program changes them (a grid cell edit, a search and replace, an undo), so a link is never
// flagged as moved because the user corrected its stamp's catalogue number, country, year or
// description here.
//
// note() is given every change the table reports (engine::RecordChange); it remembers, for the
// records that have pictures, their fingerprint before and after. apply() then updates the
// store in one index write (PictureStore::followChanges) and forgets what it noted. The records
// with pictures are read from the store once per batch, so a run over a collection without
// pictures costs one look at the store. Added records have no pictures yet and are skipped.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <unordered_set>
#include <vector>

#include "pictures/picture_store.h"

namespace engine {
class Table;
struct RecordChange;
}  // namespace engine

namespace pictures {

class FingerprintFollower {
  public:
    // `table` is the collection's open table at `tablePath`.
    void setCollection(const engine::Table* table, const QString& tablePath);

    void note(const engine::RecordChange& change);
    bool pending() const { return !changes_.empty(); }
    // Updates the store; throws PictureError when its index cannot be written.
    void apply();
    void forget();

  private:
    const engine::Table* table_ = nullptr;
    QString tablePath_;
    std::optional<std::unordered_set<std::uint32_t>> withPictures_;  // read once per batch
    std::vector<PictureStore::FingerprintChange> changes_;
};

}  // namespace pictures
