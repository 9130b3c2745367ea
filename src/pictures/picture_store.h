// The pictures of a collection's stamps, kept in a folder beside its table.
//
// Where: the collection "stamps.DBF" keeps its pictures in "stamps-pictures/" beside it
// (storeFolder()). The table itself never changes: the link between a stamp and its pictures
// is its record number, held in the store's index file "pictures.idx" in that folder.
//
// What the folder holds:
//  - the pictures, copied in and named after their content ("<32 hex digits>.jpg"), so the
//    same file added twice (to one stamp or to several) is stored once;
//  - "pictures.idx", one line per link: record number, stored file, the record's fingerprint
//    and the name the file was added under. A record's pictures are in the order of its lines;
//    the first is the stamp's main picture;
//  - "pictures.lock", locked (flock) by a writer for the whole read-change-write of the index;
//  - "thumbnails/", derived images that can be deleted at any time (see thumbnails.h).
//
// Why a plain index file and not a database: the index is small (one short line a picture),
// is read whole and cached, and stays readable by people and by the copy tools of backup and
// export, which copy the folder as it is with no database engine to open it. Every change
// writes a complete new index beside the old one, flushes it to disk and renames it over the
// old one, under the lock file, so:
//  - a process killed at any instant leaves either the old or the new index, each complete,
//    and every picture file either index names is already complete on disk (files are copied
//    in under a temporary name, flushed and renamed before the index names them);
//  - two processes adding at once both keep their pictures (each re-reads the index under the
//    lock before it changes it);
//  - readers take no lock: they read whichever complete index is in place.
// A picture file left behind by a cut-short add is harmless and reused by the next add of the
// same content. Removing the last link to a file deletes the file and its thumbnails.
//
// Record numbers change when the table is packed. Our own Pack carries every link to its
// record's new number (carryAcrossPack()); the links of deleted records stay until then, so a
// recalled record keeps its pictures. Each link also holds a fingerprint of its record
// (catalogue number, country, year, description): after another program packed or rewrote the
// table, links whose record no longer matches are found by checkLinks(), which offers the one
// record that matches when exactly one does, and relink() moves them.
//
// Errors: every failure that the user should hear of (an unreadable or unsupported picture, a
// store that cannot be written) throws PictureError with a message fit for a message box. A
// missing store is an empty store; it is created by the first add.
//
// Building: reading pictures (add, addImage, checkPictureFile) needs Qt's GUI library to tell
// their formats and is kept in picture_adding.cpp; everything else here needs QtCore only, so
// a program that only reads, copies or renumbers a store (backup, pack) links without it.
//
// Threads: a PictureStore object is used from one thread at a time. Several objects (in one or
// several processes) may work on the same folder at once.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

class QImage;

namespace pictures {
struct Incoming;
}

namespace engine {
class RecordView;
class Table;
}  // namespace engine

namespace pictures {

class PictureError : public std::runtime_error {
  public:
    explicit PictureError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

  private:
    QString message_;
};

// Name of the store's folder for a table: "<table name>-pictures".
QString storeFolderName(const QString& tablePath);
// Absolute path of the store's folder for a table, with a trailing "/" (it may not exist).
QString storeFolder(const QString& tablePath);

// A record's fingerprint: a 32-bit hash of each of catalogue number, country, year and
// description, taken as the engine reads them, trimmed and upper-cased.
struct Fingerprint {
    std::array<std::uint32_t, 4> parts{};
    bool operator==(const Fingerprint&) const = default;

    // How many of the four parts agree (0..4).
    int agreement(const Fingerprint& other) const;
    // "xxxxxxxx-xxxxxxxx-xxxxxxxx-xxxxxxxx" and back (false when `text` is not that form).
    QString toText() const;
    static bool fromText(const QString& text, Fingerprint& out);
};

// The fingerprint of a record of a stamp collection table.
Fingerprint fingerprintOf(const engine::RecordView& record);
// The same from the four texts (as the editor holds them before posting).
Fingerprint fingerprintOf(const QString& catalogue, const QString& country, const QString& year,
                          const QString& description);

// The records of `table` (deleted ones included) whose fingerprint is `fingerprint` in all four
// parts, ascending.
std::vector<std::uint32_t> recordsWithFingerprint(const engine::Table& table,
                                                  const Fingerprint& fingerprint);

// A record whose links agree with it in at least this many fingerprint parts is still theirs:
// a collector who corrects one field of a stamp does not see its pictures flagged.
inline constexpr int kFingerprintKeeps = 3;

// One picture of one stamp.
struct Picture {
    std::uint32_t recno = 0;   // the record it belongs to (1-based physical number)
    int position = 0;          // 0-based place among the record's pictures; 0 is the main one
    QString file;              // stored file name inside the folder ("<hash>.jpg")
    QString path;              // absolute path of the stored file
    QString originalName;      // file name it was added under ("front.jpg"; "Pasted picture.png")
    Fingerprint fingerprint;   // of the record when linked (or last confirmed)
};

// A link found no longer to match its record (see checkLinks()).
struct MovedPicture {
    Picture picture;
    // The record whose fingerprint matches all four parts, when exactly one visible or deleted
    // record does; 0 when none or several do.
    std::uint32_t candidate = 0;
};

// Throws PictureError (naming the file) unless `path` is a readable JPEG, PNG, TIFF or WebP
// picture: what add() checks, for a caller that keeps files back before adding them.
void checkPictureFile(const QString& path);

// Extensions and formats the store accepts: JPEG, PNG, TIFF and WebP.
bool isAcceptedFormat(const QByteArray& format);
// Filter for an open-file dialog offering the accepted pictures.
QString pictureFileFilter();

class PictureStore {
  public:
    // The store of the collection whose table is `tablePath` (the store need not exist).
    explicit PictureStore(const QString& tablePath);
    ~PictureStore();
    PictureStore(const PictureStore&) = delete;
    PictureStore& operator=(const PictureStore&) = delete;

    QString tablePath() const;
    QString folder() const;     // storeFolder(tablePath()), trailing "/"
    QString indexPath() const;  // folder() + "pictures.idx"

    // Reading (re-reads the index when another object or process changed it).
    std::vector<Picture> pictures(std::uint32_t recno) const;  // in order; empty when none
    int count(std::uint32_t recno) const;
    std::vector<Picture> all() const;  // every link, by record number then position
    // Record numbers that have at least one picture, ascending.
    std::vector<std::uint32_t> records() const;
    bool empty() const;
    // Lines of the index that could not be read (left out, kept out of the next write).
    int damagedLines() const;

    // Copies each file into the store and links it to `recno` after the record's pictures, in
    // the order given. All files are checked first: when one is missing, unreadable or not an
    // accepted picture, nothing is added and PictureError names it. A file whose content is
    // already linked to `recno` is not linked twice. Returns the pictures added.
    std::vector<Picture> add(std::uint32_t recno, const QStringList& files,
                             const Fingerprint& fingerprint);
    // Stores `image` (from the clipboard) as a PNG file and links it; `name` is shown for it.
    Picture addImage(std::uint32_t recno, const QImage& image, const Fingerprint& fingerprint,
                     const QString& name = QStringLiteral("Pasted picture.png"));
    // Removes the record's picture at `position` (nothing when out of range).
    void remove(std::uint32_t recno, int position);
    void removeAll(std::uint32_t recno);
    // Makes the picture at `position` the record's first (main) picture.
    void moveToFirst(std::uint32_t recno, int position);
    // Sets the fingerprint of every link of `recno` (after the record was changed and posted).
    void setFingerprint(std::uint32_t recno, const Fingerprint& fingerprint);
    // Records this program changed: each link of `recno` whose fingerprint still agrees with the
    // record as it was (`before`, in kFingerprintKeeps parts) takes the fingerprint of the record
    // as it is now (`after`); a link already flagged as not matching is left for the user to
    // relink. One write of the index for all of them.
    struct FingerprintChange {
        std::uint32_t recno = 0;
        Fingerprint before;
        Fingerprint after;
    };
    void followChanges(const std::vector<FingerprintChange>& changes);

    // After a pack: `newNumbers[old]` is the new number of old record `old` (index 0 unused),
    // 0 when the record was removed. Links of removed records are dropped with their files;
    // links past the vector's end keep their number moved by the records removed before them.
    void carryAcrossPack(const std::vector<std::uint32_t>& newNumbers);

    // Links whose record (read from `table`, deleted records included) agrees with the link's
    // fingerprint in fewer than kFingerprintKeeps parts, or is past the table's end.
    std::vector<MovedPicture> checkLinks(const engine::Table& table) const;
    // Moves every link of `from` whose file is `file` (all its links when `file` is empty) to
    // the end of `to`'s pictures, with `fingerprint`.
    void relink(std::uint32_t from, std::uint32_t to, const Fingerprint& fingerprint,
                const QString& file = QString());

    // Copies the pictures of some records into another collection's store: for each pair
    // (record here, record there) the pictures are added there in order with their names, and
    // with the fingerprints of the records of `targetTable` (when given) or their own. Files
    // are shared by content as with add(). One write of the target's index. A picture whose
    // file cannot be read is left out; the paths of those left out are returned.
    std::vector<QString> copyRecordsTo(
        PictureStore& target, const std::vector<std::pair<std::uint32_t, std::uint32_t>>& records,
        const engine::Table* targetTable = nullptr) const;

    // Adding to many records with one write of the index (imports): storeBytes() and
    // storeFile() check a picture and write it into the folder under its content name, not yet
    // linked; linkAll() then links stored files in order. A stored file no link names is
    // harmless (the next add of that content reuses it). Both throw PictureError naming
    // `name` / `path` when it is no accepted picture or cannot be read or written.
    struct NewLink {
        std::uint32_t recno = 0;
        QString file;  // as storeBytes() / storeFile() returned it
        QString originalName;
        Fingerprint fingerprint;
    };
    QString storeBytes(const QByteArray& bytes, const QString& name);
    QString storeFile(const QString& path);
    // Links in order, a file already linked to its record not twice.
    void linkAll(const std::vector<NewLink>& links);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;

    // Stores pictures already read and checked (picture_adding.cpp) and links them.
    std::vector<Picture> addIncoming(std::uint32_t recno, const std::vector<Incoming>& incoming,
                                     const Fingerprint& fingerprint);
    // Writes a checked picture into the folder under its content name, under the lock.
    QString storeIncoming(const Incoming& incoming);
};

// Store objects of one process share the index they last read of each store, so the windows
// showing one collection read a changed index once. This drops what was read (a benchmark
// timing a first opening, as a new process would have it).
void forgetReadIndexes();

// Copies the whole store of `fromTable` into `toFolder` (created; its files are replaced),
// the index last, so an interrupted copy leaves no index naming a missing file. Does nothing
// when `fromTable` has no store. Throws PictureError.
void copyStoreFolder(const QString& fromTable, const QString& toFolder);

}  // namespace pictures
