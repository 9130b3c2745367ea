// Pictures in exports and imports, as the runs see them (export_run.h, import_run.h,
// tellico_run.h). The runs reach the picture store only through these two interfaces, so their
// code needs no image library: the companion's quick program, built without Qt's GUI library,
// passes none and hands runs with pictures to its GUI program. store_pictures.h implements both
// over the picture store (pictures/picture_store.h).
//
// Picture column of a text file: the last column of an export with pictures holds each stamp's
// picture file names relative to the exported file, separated by ";" (kPictureSeparator). The
// names an export writes are "<folder>/<32 hex digits>.<extension>", so the separator never
// occurs in one; a hand-written column may hold any relative or absolute names without ";".
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace engine {
class Table;
}

namespace interchange {

inline constexpr char kPictureSeparator = ';';
// The name of the picture column in the title line of a text export, and the name that sends
// an import field to the stamps' pictures (in any letter case).
inline constexpr const char* kPictureColumnName = "Pictures";
// The field assignment's number for the picture column (past the 25 stamp fields).
inline constexpr int kPictureColumn = 26;

// One picture of an exported stamp, for a Tellico file.
struct ExportedPicture {
    QString path;       // the picture file, read when the Tellico file is written
    QString extension;  // "jpg", "png", "tif", "webp"
    QSize size;         // in pixels; invalid when unknown
};

// What a run did with pictures, for its completion message: an import's pictures added and
// those named that could not be had; an export's stored files that were missing (left out).
struct PictureTally {
    std::uint64_t added = 0;
    std::uint64_t missing = 0;              // named but not found or not a picture
    std::vector<std::string> missingNames;  // the first of them, as the source names them

    // The names in quotes, separated by commas, with " and N more" for those not named.
    std::string missingList() const {
        std::string text;
        for (std::size_t i = 0; i < missingNames.size(); ++i)
            text += (i ? ", \"" : "\"") + missingNames[i] + "\"";
        if (missing > missingNames.size())
            text += " and " + std::to_string(missing - missingNames.size()) + " more";
        return text;
    }
};

class ExportPictures {
  public:
    virtual ~ExportPictures() = default;
    // Text: the picture column for record `recno` of the source; its files are copied beside
    // the exported file.
    virtual std::string column(std::uint32_t recno) = 0;
    // dBase: record `recno` of the source became record `newRecno` of the new table.
    virtual void carried(std::uint32_t recno, std::uint32_t newRecno) = 0;
    // Tellico: the pictures of record `recno`, main picture first.
    virtual std::vector<ExportedPicture> pictures(std::uint32_t recno) = 0;
    // The largest number of pictures one stamp of the source has.
    virtual int mostPictures() = 0;
    // Called when every record is written, before the exported file is put in place (dBase:
    // `written` is the new table under its temporary name, whose records give the links their
    // fingerprints): makes the pictures whole, still out of the way. Throws on failure.
    virtual void stage(engine::Table* written) = 0;
    // Called once the exported file is in place: puts the pictures in place beside it (replacing
    // the store of a replaced table). Throws on failure. A run that ends without it leaves no
    // picture of its own behind.
    virtual void putInPlace() = 0;
    // The stamps' pictures whose stored file was missing or unreadable: left out of the export
    // (the rest of it goes on), counted and named for its completion message.
    virtual const PictureTally& outcome() const = 0;
};

class ImportPictures {
  public:
    virtual ~ImportPictures() = default;
    // The picture column `column` of the record `recno` just posted in `table`: each name is
    // found relative to the source file; one that is missing or no picture is counted.
    virtual void addNamed(const engine::Table& table, std::uint32_t recno,
                          std::string_view column) = 0;
    // A picture's bytes for the record `recno` just posted; `name` names it in messages.
    // Throws (a TransferError or std::runtime_error) when it cannot be stored.
    virtual void addBytes(const engine::Table& table, std::uint32_t recno, const QByteArray& bytes,
                          const QString& name) = 0;
    // A picture `name` that could not be had (counted and named).
    virtual void missed(const std::string& name) = 0;
    // Links what was added with one write of the store's index; called when the run ends,
    // after a failure too (the records before it keep their pictures). Throws on failure.
    virtual void finish() = 0;
    virtual const PictureTally& outcome() const = 0;
};

}  // namespace interchange
