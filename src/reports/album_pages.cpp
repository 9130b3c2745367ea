#include "reports/album_pages.h"

#include <QImageIOHandler>
#include <QImageReader>
#include <algorithm>
#include <memory>

#include "collection/date_format.h"
#include "engine/table.h"
#include "pictures/picture_store.h"

namespace reports {

namespace {

constexpr double kMargin = 0.5;        // inch, on every side
constexpr double kGap = 0.2;           // inch between cells, across and down
constexpr double kHeadingTop = 0.5;    // the first heading's top
constexpr double kFooterHeight = 0.5;  // above the bottom margin
constexpr int kCaptionLines = 3;

// The field's text as the engine reads it, trimmed.
QString fieldText(const engine::RecordView& record, int column, std::string& scratch) {
    if (column < 0) return QString();
    record.textInto(column, scratch);
    return QString::fromUtf8(scratch.data(), static_cast<qsizetype>(scratch.size())).trimmed();
}

QString joined(const QString& a, const QString& b) {
    if (a.isEmpty()) return b;
    if (b.isEmpty()) return a;
    return a + QStringLiteral("  ") + b;
}

}  // namespace

const PageFont& albumHeadingFont() {
    static const PageFont font{QStringLiteral("Arial"), 14, true};
    return font;
}

const PageFont& albumCaptionFont() {
    static const PageFont font{QStringLiteral("Arial"), 8};
    return font;
}

MainPicture storeMainPicture(const QString& tablePath) {
    auto store = std::make_shared<pictures::PictureStore>(tablePath);
    // The records with pictures, read once: most records of a large collection have none.
    auto withPictures = std::make_shared<std::vector<std::uint32_t>>(store->records());
    return [store, withPictures](std::uint32_t recno) {
        if (!std::binary_search(withPictures->begin(), withPictures->end(), recno))
            return QString();
        const std::vector<pictures::Picture> list = store->pictures(recno);
        return list.empty() ? QString() : list.front().path;
    };
}

QSizeF pictureShape(const QString& path) {
    QImageReader reader(path);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty()) return QSizeF();
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    return turned ? QSizeF(size.height(), size.width()) : QSizeF(size);
}

std::vector<AlbumStamp> albumStamps(engine::Table& table, const MainPicture& mainPicture) {
    const int country = table.fieldIndex("Country"), year = table.fieldIndex("Year"),
              catalogue = table.fieldIndex("Catalog"), face = table.fieldIndex("FaceValue"),
              description = table.fieldIndex("Descriptio");
    std::vector<AlbumStamp> stamps;
    std::string scratch;
    const std::uint32_t keep = table.recNo();
    for (table.first(); !table.eof(); table.next()) {
        const engine::RecordView record = table.current();
        QString picture = mainPicture(record.recNo());
        if (picture.isEmpty()) continue;
        AlbumStamp s;
        s.country = fieldText(record, country, scratch);
        s.year = fieldText(record, year, scratch);
        s.catalogue = fieldText(record, catalogue, scratch);
        s.faceValue = fieldText(record, face, scratch);
        s.description = fieldText(record, description, scratch);
        s.shape = pictureShape(picture);
        s.picture = std::move(picture);
        stamps.push_back(std::move(s));
    }
    if (keep) table.goToRecord(keep);
    std::stable_sort(stamps.begin(), stamps.end(), [](const AlbumStamp& a, const AlbumStamp& b) {
        return a.country.compare(b.country, Qt::CaseInsensitive) < 0;
    });
    return stamps;
}

AlbumPages::AlbumPages(const std::vector<AlbumStamp>& stamps, PageEngine& engine,
                       AlbumOptions options)
    : stamps_(stamps), engine_(engine), options_(options) {
    options_.perRow = std::clamp(options_.perRow, kMinPerRow, kMaxPerRow);
}

void AlbumPages::beforePrint() {
    engine_.setMargins(kMargin, kMargin, kMargin, kMargin);
    next_ = 0;
    const double across = engine_.pageWidth() - 2 * kMargin;
    cellWidth_ = across / options_.perRow;
    const double captions = kCaptionLines * albumCaptionFont().points / 60.0;
    // A square frame as wide as the cell, but never so tall that a heading and a row would not
    // fit on a page together.
    const double body = engine_.pageHeight() - 2 * kMargin - kFooterHeight;
    const double headingHeight = albumHeadingFont().points / 60.0 + kGap;
    frame_ = std::max(0.1, std::min(cellWidth_ - kGap, body - headingHeight - captions - kGap));
    rowHeight_ = frame_ + captions + kGap;
}

void AlbumPages::printHeader() {}

std::size_t AlbumPages::rowLength(std::size_t first) const {
    std::size_t n = 0;
    while (first + n < stamps_.size() && n < static_cast<std::size_t>(options_.perRow) &&
           stamps_[first + n].country == stamps_[first].country)
        ++n;
    return n;
}

bool AlbumPages::printPage() {
    const double bottom = engine_.pageHeight() - kMargin - kFooterHeight;
    const double headingHeight = albumHeadingFont().points / 60.0 + kGap;
    double top = kHeadingTop;
    bool pageEmpty = true;
    while (next_ < stamps_.size() && !engine_.aborted()) {
        const bool startsCountry =
            pageEmpty || stamps_[next_].country != stamps_[next_ - 1].country;
        const double needed = (startsCountry ? headingHeight : 0) + rowHeight_;
        if (!pageEmpty && top + needed > bottom) break;
        if (startsCountry) {
            engine_.setAreaTop(top);
            heading(stamps_[next_].country);
            top += headingHeight;
        }
        const std::size_t n = rowLength(next_);
        row(next_, n, top);
        next_ += n;
        top += rowHeight_;
        pageEmpty = false;
    }
    return next_ < stamps_.size();
}

void AlbumPages::heading(const QString& country) {
    engine_.setFont(albumHeadingFont());
    engine_.goToFirstLine();
    const double across = engine_.pageWidth() - 2 * kMargin;
    const QString text = country.isEmpty() ? QStringLiteral("(no country)") : country;
    engine_.clearTabs();
    engine_.setTab({kMargin, Justify::Left, across, 0, kBoxBottom});
    engine_.printInStop(0, engine_.fitText(text, across));
}

void AlbumPages::row(std::size_t first, std::size_t count, double top) {
    for (std::size_t i = 0; i < count; ++i)
        cell(stamps_[first + i], kMargin + static_cast<double>(i) * cellWidth_ + kGap / 2, top);
}

void AlbumPages::cell(const AlbumStamp& stamp, double left, double top) {
    const double frame = frame_;
    engine_.placeBox(left, top, frame, frame);
    // The picture whole and centred in its frame, a little inside its edges.
    const double inner = frame * 0.94;
    double width = inner, height = inner;
    if (stamp.shape.width() > 0 && stamp.shape.height() > 0) {
        const double ratio = stamp.shape.width() / stamp.shape.height();
        if (ratio >= 1)
            height = inner / ratio;
        else
            width = inner * ratio;
    }
    engine_.placeImage(
        {left + (frame - width) / 2, top + (frame - height) / 2, width, height, stamp.picture});

    engine_.setFont(albumCaptionFont());
    engine_.setAreaTop(top + frame);
    engine_.goToFirstLine();
    const double centre = left + frame / 2;
    for (const QString& line : {joined(stamp.country, stamp.year),
                                joined(stamp.catalogue, stamp.faceValue), stamp.description}) {
        engine_.printCentred(engine_.fitText(line, frame), centre);
        engine_.newLine();
    }
}

void AlbumPages::printFooter() {
    const double bottom = engine_.pageHeight() - kMargin;
    engine_.setAreaTop(bottom - kFooterHeight);
    engine_.setAreaBottom(bottom);
    engine_.setFont(albumCaptionFont());
    engine_.printAligned(QStringLiteral("Page %1").arg(engine_.pageNumber()), Justify::Left);
    if (options_.today.isValid())
        engine_.printAligned(collection::currentDateFormat().format(options_.today),
                             Justify::Right);
}

}  // namespace reports
