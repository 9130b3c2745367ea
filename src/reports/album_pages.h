// Album pages: the viewed stamps' pictures laid out on pages with their captions, grouped by
// country, a chosen number of pictures to a row.
//
// `albumStamps` walks the table in its current order and through its filter (the viewed
// records: the whole collection or the search result) and keeps each stamp that has a picture,
// with its main picture (the first of its pictures) and its caption fields: country, year,
// catalogue number, face value and description. Countries follow one another alphabetically
// (letter case aside); within a country the stamps keep the viewed order.
//
// `AlbumPages` is the page engine's event handler that lays them out, so album pages go to the
// printer, the preview and PDF by the same roads as reports: each country starts with its name
// as a heading (repeated at the top of a page it continues on), then rows of up to `perRow`
// cells. A cell is a square frame holding the picture, scaled to fit it whole and centred, and
// three centred caption lines under it: "Country  Year", "Catalogue  Face value" and the
// description, each cut to the cell's width. A picture whose size cannot be read (missing or
// damaged file) is given the whole frame; drawing it then shows what went wrong. Each page ends
// with "Page N" flush left and the date flush right, as reports do.
#pragma once

#include <QDate>
#include <QSizeF>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "reports/page_engine.h"

namespace engine {
class Table;
}

namespace reports {

struct AlbumStamp {
    QString country, year, catalogue, faceValue, description;
    QString picture;  // path of the stamp's main picture
    QSizeF shape;     // its width and height as shown (only the ratio counts); empty: unknown
};

struct AlbumOptions {
    int perRow = 3;  // pictures to a row, kMinPerRow..kMaxPerRow
    bool landscape = false;
    QDate today;  // printed on every page when valid
};

inline constexpr int kMinPerRow = 1;
inline constexpr int kMaxPerRow = 8;

// The fonts of album pages: country headings, and captions and page footers.
const PageFont& albumHeadingFont();
const PageFont& albumCaptionFont();

// Path of record `recno`'s main picture, "" when it has none.
using MainPicture = std::function<QString(std::uint32_t recno)>;

// The main picture of each record as the picture store of the collection `tablePath` holds it.
MainPicture storeMainPicture(const QString& tablePath);

// The stamps of the viewed records that have a picture, grouped by country (see above). The
// table keeps its current record.
std::vector<AlbumStamp> albumStamps(engine::Table& table, const MainPicture& mainPicture);

// The width and height of a picture file as it is shown (turned by its orientation), read
// from its header only; empty when the file cannot be read as a picture.
QSizeF pictureShape(const QString& path);

class AlbumPages : public PageEvents {
  public:
    // `stamps` and `engine` must outlive the run.
    AlbumPages(const std::vector<AlbumStamp>& stamps, PageEngine& engine, AlbumOptions options);

    void beforePrint() override;
    void printHeader() override;
    bool printPage() override;
    void printFooter() override;

  private:
    void heading(const QString& country);
    // Cells of stamps [first, first + count) of one country on one row starting at `top`.
    void row(std::size_t first, std::size_t count, double top);
    void cell(const AlbumStamp& stamp, double left, double top);
    std::size_t rowLength(std::size_t first) const;

    const std::vector<AlbumStamp>& stamps_;
    PageEngine& engine_;
    AlbumOptions options_;
    std::size_t next_ = 0;  // the first stamp not yet placed
    double cellWidth_ = 0, frame_ = 0, rowHeight_ = 0;
};

}  // namespace reports
