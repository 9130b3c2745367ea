// A collection's picture store carried with its table by backup and restore, all or nothing.
//
// The store of `fromTable` ("<name>-pictures/" beside it, see pictures/picture_store.h) is
// copied first into a hidden folder (".tess-pictures-XXXXXX") beside the store it will replace;
// putInPlace() then swaps the two folders in one step (renameat2 with RENAME_EXCHANGE) and
// deletes the old one, or renames the copy into place when there was none. A file system that
// cannot swap (FAT media) gets two renames instead, the old store moved aside first and back
// again when the copy cannot follow. Until then the
// store at the destination is untouched: a failed copy, or a process killed while copying,
// leaves it as it was, and the next staged store in that folder removes what a killed one left.
//
// A table without a store stages nothing and puts nothing in place: a store already at the
// destination is kept (its links name pictures by record and fingerprint, which the picture
// windows check), never deleted by a backup or restore that had no pictures to bring.
#pragma once

#include <QString>

namespace safekeeping {

class StagedPictures {
  public:
    // Copies the store of the table `fromTable` for the table `toTable`. When the copy fails,
    // failure() says why (a message fit for the user).
    StagedPictures(const QString& fromTable, const QString& toTable);
    ~StagedPictures();
    StagedPictures(const StagedPictures&) = delete;
    StagedPictures& operator=(const StagedPictures&) = delete;

    const QString& failure() const { return failure_; }
    // Puts the copy in place of the destination's store; false (with failure()) when it could
    // not, the old store then being kept.
    bool putInPlace();

  private:
    QString target_;  // the destination's store folder, without a trailing "/"
    QString staged_;  // the hidden copy; empty when there is nothing to put in place
    QString failure_;
};

}  // namespace safekeeping
