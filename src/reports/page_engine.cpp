#include "reports/page_engine.h"

#include <QImage>
#include <algorithm>
#include <cmath>

namespace reports {

namespace {

// A device of kReferenceDpi on which every text is measured.
const QImage& referenceDevice() {
    static const QImage image = [] {
        QImage i(1, 1, QImage::Format_Mono);
        const int dotsPerMeter = qRound(kReferenceDpi / 0.0254);
        i.setDotsPerMeterX(dotsPerMeter);
        i.setDotsPerMeterY(dotsPerMeter);
        return i;
    }();
    return image;
}

}  // namespace

PageEngine::PageEngine(PageSetup setup, PageSink& sink)
    : setup_(setup), sink_(sink), items_(sink.wantsItems()) {
    font_.family = QStringLiteral("Arial");
}

PageEngine::~PageEngine() = default;

void PageEngine::setOrientation(bool landscape) {
    if (landscape != setup_.landscape) setup_.size.transpose();
    setup_.landscape = landscape;
}

void PageEngine::setMargins(double left, double right, double top, double bottom) {
    left_ = left;
    right_ = right;
    top_ = top;
    bottom_ = bottom;
}

void PageEngine::goToFirstLine() {
    y_ = areaTop_ + lineHeight();
}

int PageEngine::linesLeft() const {
    const double h = lineHeight();
    if (!(y_ <= areaBottom_) || h <= 0) return 0;  // also when a position is not a number
    // A small tolerance keeps sums of line heights from losing a line to rounding.
    const double whole = std::floor((areaBottom_ - y_) / h + 1e-9);
    return whole < 1e6 ? static_cast<int>(whole) + 1 : 1000000;
}

void PageEngine::setFont(const PageFont& font) {
    // A size below 1 point would make lines of no height and a page that never fills.
    font_ = font;
    font_.points = std::clamp(font.points, 1, 500);
    fontIndex_ = -1;
}

int PageEngine::fontIndex() {
    if (fontIndex_ >= 0) return fontIndex_;
    const auto it = std::find(fonts_.begin(), fonts_.end(), font_);
    fontIndex_ = static_cast<int>(it - fonts_.begin());
    if (it == fonts_.end()) {
        fonts_.push_back(font_);
        metrics_.push_back(nullptr);
        glyphs_.push_back(nullptr);
    }
    return fontIndex_;
}

const QFontMetricsF& PageEngine::metrics() const {
    const int index = const_cast<PageEngine*>(this)->fontIndex();
    std::unique_ptr<QFontMetricsF>& m = metrics_[index];
    if (!m) m = std::make_unique<QFontMetricsF>(resolvedFont(fonts_[index]), &referenceDevice());
    return *m;
}

const FontGlyphs& PageEngine::glyphs() const {
    const int index = const_cast<PageEngine*>(this)->fontIndex();
    std::unique_ptr<FontGlyphs>& g = glyphs_[index];
    if (!g) g = std::make_unique<FontGlyphs>(fonts_[index]);
    return *g;
}

double PageEngine::textWidth(const QString& text) const {
    return widthOf(glyphs(), text);
}

double PageEngine::widthOf(const FontGlyphs& glyphs, QStringView text) {
    return static_cast<double>(glyphs.width64(text)) / (64.0 * kReferenceDpi);
}

QString PageEngine::fitText(const QString& text, double width) const {
    if (!items_) return text;
    const FontGlyphs& g = glyphs();
    if (widthOf(g, text) <= width) return text;
    // The longest prefix that fits: widths grow with the prefix, so a binary search finds
    // what cutting one character at a time from the end would.
    qsizetype lo = 0, hi = text.size() - 1;
    while (lo < hi) {
        const qsizetype mid = (lo + hi + 1) / 2;
        if (widthOf(g, QStringView(text).first(mid)) <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    return text.left(lo);
}

void PageEngine::setTab(const TabStop& stop) {
    double left = stop.left;
    if (left < 0) left = tabs_.empty() ? left_ : tabs_.back().left + tabs_.back().width;
    tabs_.push_back(
        {left, std::max(0.0, stop.width), stop.justify, stop.margin / 100.0, stop.boxLines});
}

double PageEngine::usableTabWidth(int index) const {
    if (index < 0 || index >= tabCount()) return 0;
    const Stop& s = tabs_[index];
    return s.width - 2 * s.margin;
}

double PageEngine::baseline() const {
    // The text sits in the line as the font's ascent and descent centred in the line height.
    const QFontMetricsF& m = metrics();
    const double ascent = m.ascent() / kReferenceDpi, descent = m.descent() / kReferenceDpi;
    return y_ - (lineHeight() - ascent - descent) / 2 - descent;
}

void PageEngine::placeText(const QString& text, double x) {
    if (!text.isEmpty()) placeText(text, x, baseline());
}

void PageEngine::placeText(const QString& text, double x, double onBaseline) {
    if (!text.isEmpty()) page_.texts.push_back({x, onBaseline, fontIndex(), text});
}

void PageEngine::addBoxLine(bool vertical, double across, double from, double to) {
    // Neighbouring boxes share edges, and a column's edges run on from row to row: a line that
    // touches or overlaps the last one placed on the same straight line joins it.
    constexpr double kSame = 1e-6;  // inch
    const long long key = (std::llround(across / kSame) << 1) | (vertical ? 1 : 0);
    auto open = std::find_if(openLines_.rbegin(), openLines_.rend(),
                             [key](const auto& entry) { return entry.first == key; });
    if (open != openLines_.rend()) {
        PlacedLine& l = page_.lines[open->second];
        double& start = vertical ? l.y1 : l.x1;
        double& end = vertical ? l.y2 : l.x2;
        if (from <= end + kSame && to >= start - kSame) {
            start = std::min(start, from);
            end = std::max(end, to);
            return;
        }
        open->second = page_.lines.size();
    } else {
        openLines_.emplace_back(key, page_.lines.size());
    }
    if (vertical)
        page_.lines.push_back({across, from, across, to});
    else
        page_.lines.push_back({from, across, to, across});
}

void PageEngine::placeBoxLines(const Stop& s) {
    const double top = y_ - lineHeight(), bottom = y_, right = s.left + s.width;
    if (s.boxLines & kBoxLeft) addBoxLine(true, s.left, top, bottom);
    if (s.boxLines & kBoxRight) addBoxLine(true, right, top, bottom);
    if (s.boxLines & kBoxTop) addBoxLine(false, top, s.left, right);
    if (s.boxLines & kBoxBottom) addBoxLine(false, bottom, s.left, right);
}

double PageEngine::xInStop(const Stop& s, double width) {
    double x = s.left + s.margin;
    if (s.justify != Justify::Left) {
        const double free = s.width - 2 * s.margin - width;
        x += s.justify == Justify::Right ? free : free / 2;
    }
    return x;
}

void PageEngine::placeInStop(const QString& text, const Stop& s) {
    placeBoxLines(s);
    if (!text.isEmpty()) placeText(text, xInStop(s, textWidth(text)));
}

void PageEngine::printWholeInStop(int stop, const QString& text) {
    if (!items_ || stop < 0 || stop >= tabCount()) return;
    const Stop& s = tabs_[stop];
    const double room = s.width - 2 * s.margin;
    const double width = textWidth(text);
    if (width <= room) {
        placeInStop(text, s);
        return;
    }
    placeBoxLines(s);
    // Widths grow nearly in proportion to the size: start at the proportional size, then step
    // to the largest whole size that fits.
    const PageFont lineFont = font_;
    const double lineBaseline = baseline();
    const auto widthAt = [&](int points) {
        PageFont f = lineFont;
        f.points = points;
        setFont(f);
        return textWidth(text);
    };
    const int largest = lineFont.points - 1;
    if (largest >= kSmallestWholePoints && room > 0) {
        int points = std::clamp(static_cast<int>(lineFont.points * room / width),
                                kSmallestWholePoints, largest);
        while (points > kSmallestWholePoints && widthAt(points) > room) --points;
        while (points < largest && widthAt(points + 1) <= room) ++points;
        const double fitted = widthAt(points);
        if (fitted <= room) {
            placeText(text, xInStop(s, fitted), lineBaseline);
            setFont(lineFont);
            return;
        }
    }
    setFont(lineFont);
    const double hash = textWidth(QStringLiteral("#"));
    const qsizetype count =
        hash > 0 && room > 0 ? std::clamp<qsizetype>(static_cast<qsizetype>(room / hash), 1, 1000)
                             : 1;
    const QString marks(count, QLatin1Char('#'));
    placeText(marks, xInStop(s, textWidth(marks)));
}

void PageEngine::print(const QString& text) {
    if (!items_) return;
    qsizetype start = 0;
    int stop = -1;
    for (;;) {
        const qsizetype tab = text.indexOf(QLatin1Char('\t'), start);
        const QString part = text.mid(start, tab < 0 ? -1 : tab - start);
        if (stop < 0)
            placeText(part, left_);
        else if (stop < tabCount())
            placeInStop(part, tabs_[stop]);
        // Text beyond the last stop has nowhere to go and is dropped.
        if (tab < 0) break;
        start = tab + 1;
        ++stop;
    }
}

void PageEngine::printInStop(int stop, const QString& text) {
    if (items_ && stop >= 0 && stop < tabCount()) placeInStop(text, tabs_[stop]);
}

void PageEngine::placeBox(double left, double top, double width, double height) {
    if (!items_) return;
    addBoxLine(true, left, top, top + height);
    addBoxLine(true, left + width, top, top + height);
    addBoxLine(false, top, left, left + width);
    addBoxLine(false, top + height, left, left + width);
}

void PageEngine::placeImage(PlacedImage image) {
    if (items_) page_.images.push_back(std::move(image));
}

void PageEngine::printCentred(const QString& text, double x) {
    if (items_) placeText(text, x - textWidth(text) / 2);
}

void PageEngine::printAligned(const QString& text, Justify justify) {
    y_ = areaBottom_;
    if (!items_) return;
    const double free = pageWidth() - left_ - right_ - textWidth(text);
    double x = left_;
    if (justify == Justify::Right) x += free;
    if (justify == Justify::Centre) x += free / 2;
    placeText(text, x);
}

bool PageEngine::layOutPage(PageEvents& events, int number) {
    pageNumber_ = number;
    page_ = Page();
    openLines_.clear();
    tabs_.clear();
    events.printHeader();
    const bool more = events.printPage();
    events.printFooter();
    sink_.pageDone(std::move(page_), pageNumber_, fonts_);
    page_ = Page();
    return more;
}

void PageEngine::seedFonts(const std::vector<PageFont>& fonts) {
    fonts_ = fonts;
    metrics_.clear();
    metrics_.resize(fonts_.size());
    glyphs_.clear();
    glyphs_.resize(fonts_.size());
    fontIndex_ = -1;
}

bool PageEngine::run(PageEvents& events) {
    aborted_ = false;
    pageNumber_ = 0;
    events.beforePrint();
    bool more = true;
    while (more && !aborted_) {
        if (pageStarted_) pageStarted_(pageNumber_ + 1);
        if (aborted_) break;
        more = layOutPage(events, pageNumber_ + 1);
    }
    events.afterPrint();
    sink_.finished(fonts_);
    return !aborted_;
}

}  // namespace reports
