// The page engine: lays text out on pages measured in inches.
//
// A run fires the report's events (before print; for every page header, page, footer; after
// print) and hands each finished page to a `PageSink`: a painter on a printer or PDF file, a
// recorder for the preview, or nothing at all (text mode only needs the line arithmetic). When
// the sink wants no items the engine keeps only its line position and places nothing, which
// keeps a text-file run as fast as walking the records.
//
// Units: inches; the line height of a font is its point size / 60 inch (120 % of the size).
// The line position is the bottom of the current line. Text widths are those of the resolved
// font at its point size on a 1200-dpi reference device (FontGlyphs), never of the screen, so
// layouts do not depend on the display.
//
// Tab stops follow one another from the left margin; printing "a\tb\tc" puts "a" at the left
// margin and "b", "c" into the next two stops with each stop's justification, inner margin and
// box lines. A stop's boxes are drawn even when its text is empty; the edges that neighbouring
// boxes share, across a line and from line to line, are placed once as one line.
#pragma once

#include <QFontMetricsF>
#include <QString>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "reports/font_glyphs.h"
#include "reports/page_model.h"

namespace reports {

enum class Justify { Left, Centre, Right };

enum BoxLine { kBoxLeft = 1, kBoxRight = 2, kBoxTop = 4, kBoxBottom = 8, kBoxAll = 15 };

// The smallest size a number is narrowed to so that it shows whole in its column.
inline constexpr int kSmallestWholePoints = 4;

struct TabStop {
    double left = -1;  // absolute left edge in inches; < 0: directly after the previous stop
    Justify justify = Justify::Left;
    double width = 0;
    int margin = 0;  // hundredths of an inch kept clear at each side
    int boxLines = 0;
};

// Receives the finished pages of a run.
class PageSink {
  public:
    virtual ~PageSink() = default;
    // False when the sink keeps no items (text mode): the engine then places nothing.
    virtual bool wantsItems() const { return true; }
    // `page` is moved in; `number` counts from 1; `fonts` are the document's fonts so far (the
    // page's font indexes point into them).
    virtual void pageDone(Page&& page, int number, const std::vector<PageFont>& fonts) = 0;
    // The run has ended (normally or by abort); fonts of the whole document are final.
    virtual void finished(const std::vector<PageFont>& /*fonts*/) {}
};

// The report's five events.
class PageEvents {
  public:
    virtual ~PageEvents() = default;
    virtual void beforePrint() {}
    virtual void printHeader() {}
    // Lays out the page body; answers whether another page follows.
    virtual bool printPage() = 0;
    virtual void printFooter() {}
    virtual void afterPrint() {}
};

class PageEngine {
  public:
    // `setup` gives the page size (portrait) and orientation; `sink` is not owned.
    PageEngine(PageSetup setup, PageSink& sink);
    ~PageEngine();

    void setOrientation(bool landscape);
    const PageSetup& setup() const { return setup_; }
    void setMargins(double left, double right, double top, double bottom);
    double leftMargin() const { return left_; }
    double rightMargin() const { return right_; }
    double topMargin() const { return top_; }
    double bottomMargin() const { return bottom_; }
    double pageWidth() const { return setup_.size.width(); }
    double pageHeight() const { return setup_.size.height(); }

    void setAreaTop(double y) { areaTop_ = y; }
    void setAreaBottom(double y) { areaBottom_ = y; }
    void goToFirstLine();
    int linesLeft() const;
    double lineHeight() const { return font_.points / 60.0; }
    double linePosition() const { return y_; }

    void setFont(const PageFont& font);
    void clearTabs() { tabs_.clear(); }
    void setTab(const TabStop& stop);
    int tabCount() const { return static_cast<int>(tabs_.size()); }
    // Stop `index` (0-based) width less its two inner margins.
    double usableTabWidth(int index) const;
    double textWidth(const QString& text) const;
    // `text` cut from its end until it is at most `width` inches wide; unchanged, and not
    // measured, when the sink wants no items (nothing will be drawn).
    QString fitText(const QString& text, double width) const;

    void print(const QString& text);
    void printLine(const QString& text) {
        print(text);
        newLine();
    }
    void newLine() { y_ += lineHeight(); }
    // `text` in stop `stop` (0-based) of the current line, as print("\t...") would put it
    // there; a tab in `text` is part of the text.
    void printInStop(int stop, const QString& text);
    // `text` whole in stop `stop` (a number, which must never lose a character): in the current
    // font when it fits the stop's usable width, else in the largest smaller whole point size
    // that fits (down to kSmallestWholePoints), on the line's baseline and with the stop's
    // justification. A text that fits at no such size is not shown: the stop is filled with '#'
    // in the current font (at least one), as spreadsheets mark a number too wide for its column.
    void printWholeInStop(int stop, const QString& text);
    void printCentred(const QString& text, double x);
    // The four edges of a rectangle (inches from the page's top-left corner), joined with
    // neighbouring lines as box lines are.
    void placeBox(double left, double top, double width, double height);
    // A picture at its place on the page.
    void placeImage(PlacedImage image);
    void printAligned(const QString& text, Justify justify);

    // Fires the events as described above; returns false when the run was aborted.
    bool run(PageEvents& events);
    // Lays out page `number` alone (header, page, footer) and hands it to the sink; the events'
    // state must already be that of the page's start. Answers whether another page follows.
    bool layOutPage(PageEvents& events, int number);
    // Fonts already known under their indexes (a page laid out again keeps the run's indexes).
    void seedFonts(const std::vector<PageFont>& fonts);
    void abort() { aborted_ = true; }
    bool aborted() const { return aborted_; }
    // False when the sink wants no items: only the line arithmetic counts.
    bool placesItems() const { return items_; }
    int pageNumber() const { return pageNumber_; }
    // Called between pages (the status window updates itself and lets Cancel through).
    void setPageStarted(std::function<void(int)> callback) { pageStarted_ = std::move(callback); }

  private:
    struct Stop {
        double left, width;
        Justify justify;
        double margin;
        int boxLines;
    };
    void placeText(const QString& text, double x);
    void placeText(const QString& text, double x, double onBaseline);
    void placeInStop(const QString& text, const Stop& stop);
    void placeBoxLines(const Stop& stop);
    // Left edge of a text `width` inches wide in `stop`, by the stop's justification.
    static double xInStop(const Stop& stop, double width);
    void addBoxLine(bool vertical, double across, double from, double to);
    int fontIndex();
    const QFontMetricsF& metrics() const;
    const FontGlyphs& glyphs() const;
    static double widthOf(const FontGlyphs& glyphs, QStringView text);
    double baseline() const;

    PageSetup setup_;
    PageSink& sink_;
    bool items_ = true;
    double left_ = 0.5, right_ = 0.5, top_ = 0.5, bottom_ = 0.5;
    double areaTop_ = 0, areaBottom_ = 0, y_ = 0;
    PageFont font_;
    int fontIndex_ = -1;
    std::vector<PageFont> fonts_;
    mutable std::vector<std::unique_ptr<QFontMetricsF>> metrics_;  // per font index
    mutable std::vector<std::unique_ptr<FontGlyphs>> glyphs_;      // per font index
    std::vector<Stop> tabs_;
    Page page_;
    // Per straight line (position across it, and whether it is vertical): the page's last line
    // on it, by index into page_.lines.
    std::vector<std::pair<long long, std::size_t>> openLines_;
    int pageNumber_ = 0;
    bool aborted_ = false;
    std::function<void(int)> pageStarted_;
};

}  // namespace reports
