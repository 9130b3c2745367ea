// Rendering a report: the layout in a ReportDefinition and the records of a stamp table, turned
// into pages through the page engine (modes 1 and 2) or into a text file (mode 3).
//
// The renderer is the page engine's event handler (PageEvents). It walks the table from its
// first record in the table's current order and through its filter, so the caller decides which
// records and in what order. It groups on the first one or two sort levels when the definition
// asks, prints "TOTALS" per group and "TOTALS" / "GRAND TOTALS" at the end, the page header
// (titles) and footer (page number, date). In mode 3 every line goes to the text file, CR LF
// ended, the page footer line ending in a form feed; the engine still counts lines so that
// pages break where they would on paper.
//
// Never loops or crashes on a damaged definition: counts and widths are clamped, and a page on
// which nothing has been placed yet takes the next record, heading or totals block even when it
// does not fit, so every page makes progress.
//
// Text-file write errors are reported by `writeFailed()` after the run.
#pragma once

#include <QDate>
#include <QIODevice>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "collection/number_format.h"
#include "collection/sort_order.h"
#include "collection/stamp_schema.h"
#include "reports/page_engine.h"
#include "reports/report_definition.h"
#include "reports/report_text_lines.h"

namespace engine {
class RecordView;
class Table;
}  // namespace engine

namespace reports {

enum class OutputMode { Printer = 1, Preview = 2, TextFile = 3 };

// How a field's value is shown in a report.
enum class ValueKind { Text, Date, Money, WholeNumber, PlainNumber };
ValueKind reportValueKind(int fieldNumber);

struct RenderSettings {
    OutputMode mode = OutputMode::TextFile;
    std::array<QString, collection::kFieldCount> fieldLabels;  // column headers
    collection::SortLevels sortLevels = {0, 0, 0, 0};
    int numericFormat = 1;
    int currencyFormat = 1;
    QDate today;
};

// The page font that draws a report font.
PageFont pageFont(const ReportFont& font);

// The default field labels of the schema.
std::array<QString, collection::kFieldCount> defaultFieldLabels();

class ReportRenderer : public PageEvents {
  public:
    // `table` must be open; `engine` is the run's page engine; `text` (mode 3 only) an open,
    // writable device. None is owned.
    ReportRenderer(const ReportDefinition& report, engine::Table& table, PageEngine& engine,
                   RenderSettings settings, QIODevice* text = nullptr);
    ~ReportRenderer() override;

    void beforePrint() override;
    void printHeader() override;
    bool printPage() override;
    void printFooter() override;
    void afterPrint() override;

    // Called every few hundred records, so a long page can let the user's Cancel through.
    void setProgress(std::function<void()> progress) { progress_ = std::move(progress); }

    bool writeFailed() const { return writeFailed_; }
    // Records printed so far (for the status line).
    long long recordsPrinted() const { return records_; }

    struct Totals {
        double market = 0, purchase = 0, quantity = 0;
    };
    // Everything a page depends on besides the definition: taken at the start of a page, it
    // lets that page be laid out again later (restore, then one page through the engine).
    struct RunState {
        bool atEnd = false;
        std::uint32_t position = 0;  // ordinal of the current record among the visible ones
        QString previous1, previous2;
        bool headingPending = false, totalsPending = false, firstGroup = true;
        bool grandPending = false;
        Totals grand, section;
        long long records = 0;
    };
    RunState state() const;
    void restore(const RunState& state);

  private:
    enum class LineUse { Header, SingleBody, MultiBody, TotalsLine };
    // Text-file cells are cut to this many characters whatever width a damaged entry claims.
    static constexpr int kMaxCellWidth = 1000;

    bool textMode() const { return settings_.mode == OutputMode::TextFile; }
    bool fits(int lines) const;
    void setFont(int kind);
    void setStops(const ReportLine& line, LineUse use);
    int entryCount(const ReportLine& line) const;
    QString fieldValue(const engine::RecordView& record, int fieldNumber) const;
    QString totalValue(const Totals& totals, int number) const;
    QString fieldLabel(int fieldNumber) const;
    bool isTextField(int fieldNumber) const;
    bool groupChanged(const engine::RecordView& record);
    bool wholeNumberText(const engine::RecordView& record, int fieldNumber);
    void printCells(const ReportLine& line, LineUse use, const engine::RecordView* record,
                    const Totals* totals);
    // printCells without ending the line (modes 1 and 2).
    void placeCells(const ReportLine& line, LineUse use, const engine::RecordView* record,
                    const Totals* totals);
    // The entry shows a number or date: whole, never cut.
    static bool showsWhole(const LineEntry& entry, LineUse use, const Totals* totals);
    void printTextCells(const ReportLine& line, LineUse use, const engine::RecordView* record,
                        const Totals* totals);
    void printColumnHeaders();
    void printRecord();
    void addToTotals();
    bool sectionTotals();
    void totalsHeading(const QString& text);
    bool groupHeading();
    void grandTotals();
    QString centringSpaces(const QString& text) const;
    void lineToFile(const QString& text);
    void endTextLine();
    void flushText();

    const ReportDefinition& report_;
    engine::Table& table_;
    PageEngine& engine_;
    RenderSettings settings_;
    QIODevice* text_;
    collection::NumberFormats formats_;
    std::array<int, collection::kFieldCount + 1> column_{};  // field number -> table field, -1
    std::array<bool, collection::kFieldCount + 1> characterField_{};  // stored as text (C)
    std::array<bool, collection::kFieldCount + 1> numericField_{};    // stored as N or F
    int reportWidth_ = 120;
    int lines_ = 1;
    double printable_ = 0;  // W: printable width in inches
    int group1_ = 0, group2_ = 0;
    QString previous1_, previous2_;
    // The stored bytes the previous values were read from, while they are.
    std::string groupRaw1_, groupRaw2_;
    bool groupRawValid_ = false;
    bool headingPending_ = false, totalsPending_ = false, firstGroup_ = true;
    bool grandPending_ = false;
    bool pageEmpty_ = true;
    Totals grand_, section_;
    TextLines textLines_;          // mode 3: the text file's lines not yet written
    mutable std::string scratch_;  // a field's text, reused from record to record
    bool writeFailed_ = false;
    long long records_ = 0;
    std::function<void()> progress_;
};

}  // namespace reports
