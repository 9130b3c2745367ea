#include "pictures/fingerprint_follower.h"

#include "engine/table.h"

namespace pictures {

void FingerprintFollower::setCollection(const engine::Table* table, const QString& tablePath) {
    table_ = table;
    tablePath_ = tablePath;
    forget();
}

void FingerprintFollower::note(const engine::RecordChange& change) {
    if (!table_ || tablePath_.isEmpty() || change.before.empty()) return;
    if (!withPictures_) {
        const std::vector<std::uint32_t> records = PictureStore(tablePath_).records();
        withPictures_.emplace(records.begin(), records.end());
    }
    if (!withPictures_->count(change.recno)) return;
    const auto printOf = [&](std::string_view bytes) {
        return fingerprintOf(
            engine::RecordView(bytes.data(), &table_->fields(), table_->codePage(), change.recno));
    };
    changes_.push_back({change.recno, printOf(change.before), printOf(change.after)});
}

void FingerprintFollower::apply() {
    std::vector<PictureStore::FingerprintChange> changes;
    changes.swap(changes_);
    withPictures_.reset();
    if (!changes.empty()) PictureStore(tablePath_).followChanges(changes);
}

void FingerprintFollower::forget() {
    changes_.clear();
    withPictures_.reset();
}

}  // namespace pictures
