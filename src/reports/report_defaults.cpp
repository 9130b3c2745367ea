// The six reports of a new TESSELON.URP and the template of a new report.
#include <initializer_list>
#include <string>

#include "collection/stamp_schema.h"
#include "reports/report_definition.h"

namespace reports {

namespace {

LineEntry field(int number, int width) {
    const auto& f = collection::schemaField(number);
    return {QString::fromLatin1(f.name.data(), static_cast<qsizetype>(f.name.size())), number,
            width, QString()};
}
LineEntry label(const char* text, int width) {
    return {kLabelName, 0, width, QString::fromLatin1(text)};
}
LineEntry filler(int width) {
    return {kFillerName, 0, width, QString()};
}
LineEntry total(const char* name, int number, int width) {
    return {QString::fromLatin1(name), number, width, QString()};
}

// Field numbers of the stamp schema used by the default layouts.
enum : int {
    Catalog = 1,
    Descriptio = 2,
    Country = 3,
    FaceValue = 4,
    MarketValu = 5,
    Quantity = 6,
    Year = 7,
    Comments = 8,
    Condition = 9,
    Group = 10,
    StampType = 11,
    Cancellati = 12,
    Topic = 13,
    Date = 14,
    Cost = 15,
    Gum = 16,
    Color = 17,
    Faults = 18,
    Hinged = 19,
    Miscellane = 20,
};

// A line whose first entries are `entries`, the rest fillers of width 0.
ReportLine lineOf(std::initializer_list<LineEntry> entries) {
    ReportLine line = fillerLine(0);
    int i = 0;
    for (const LineEntry& e : entries) line[i++] = e;
    return line;
}

ReportLine defaultTotalsLine() {
    return lineOf({label("TOTALS:", 7), label("Purchase Price:", 20), filler(1),
                   total("Purchase Price", 2, 12), label("Value:", 10), filler(1),
                   total("Market Value", 1, 12), label("Quantity:", 13), filler(1),
                   total("Quantity", 3, 10)});
}

// Lines 1 to 4 of the full report, shared with the five-line report.
std::array<ReportLine, 4> fullReportLines() {
    return {
        lineOf({label("Catalog:", 8), filler(1), field(Catalog, 12), label("Country:", 10),
                filler(1), field(Country, 20), label("Yr:", 5), filler(1), field(Year, 5),
                label("Face:", 7), filler(1), field(FaceValue, 20), label("Topic:", 8), filler(1),
                field(Topic, 20)}),
        lineOf({label("Desc:", 5), filler(1), field(Descriptio, 110)}),
        lineOf({label("Group:", 6), filler(1), field(Group, 20), label("Type:", 7), filler(1),
                field(StampType, 16), label("Qty:", 6), filler(1), field(Quantity, 5),
                label("Cost:", 7), filler(1), field(Cost, 8), label("Value:", 8), filler(1),
                field(MarketValu, 8), label("Date:", 7), filler(1), field(Date, 11)}),
        lineOf({label("Condition:", 10), filler(1), field(Condition, 9), label("Cancellation:", 15),
                filler(1), field(Cancellati, 13), label("Gum:", 6), filler(1), field(Gum, 8),
                label("Hinged:", 9), filler(1), field(Hinged, 7), label("Color:", 8), filler(1),
                field(Color, 15)}),
    };
}

ReportDefinition defaultReport(const char* name, int width, int lines, int fontSize,
                               bool headersAndRules) {
    ReportDefinition r = blankDefaultReport();
    r.name = QString::fromLatin1(name);
    r.width = width;
    r.numberOfLines = lines;
    for (ReportFont& f : r.fonts) f.size = fontSize;
    r.columnHeaders = headersAndRules;
    r.verticalLines = headersAndRules;
    r.horizontalLines = headersAndRules;
    r.totals = defaultTotalsLine();
    return r;
}

}  // namespace

ReportDefinition blankDefaultReport() {
    ReportDefinition r;
    for (ReportFont& f : r.fonts) f = ReportFont{QStringLiteral("Arial"), 8};
    r.totals = fillerLine();
    for (ReportLine& line : r.lines) line = fillerLine();
    return r;
}

std::array<ReportDefinition, 6> defaultReports() {
    std::array<ReportDefinition, 6> set = {
        defaultReport("120 Column 1 Line Report", 120, 1, 8, true),
        defaultReport("120 Column 2 Line Report", 120, 2, 8, false),
        defaultReport("Full Report", 120, 8, 8, false),
        defaultReport("Statistic/Summary Report", 90, 0, 10, false),
        defaultReport("90 Column 1 Line Report", 90, 1, 9, true),
        defaultReport("120 Column 5 Line Report", 120, 5, 8, false),
    };

    set[0].line(1) = lineOf({field(Catalog, 8), field(Country, 20), field(Year, 5),
                             field(FaceValue, 20), field(Quantity, 4), field(Descriptio, 63)});

    set[1].line(1) =
        lineOf({label("Country:", 8), filler(1), field(Country, 20), label("Yr:", 5), filler(1),
                field(Year, 5), label("Face Value:", 13), filler(1), field(FaceValue, 20),
                label("Market Value:", 16), filler(1), field(MarketValu, 12), label("Cond:", 8),
                filler(1), field(Condition, 11)});
    set[1].line(2) = lineOf({label("Desc:", 7), filler(1), field(Descriptio, 58), label("Grp:", 6),
                             filler(1), field(Group, 12), label("Type:", 7), filler(1),
                             field(StampType, 16), label("#", 3), field(Catalog, 8)});

    const std::array<ReportLine, 4> full = fullReportLines();
    for (int i = 0; i < 4; ++i) set[2].lines[i] = full[i];
    set[2].line(5) = lineOf({label("Faults:", 7), filler(1), field(Faults, 90)});
    set[2].line(6) = lineOf({label("Comments:", 9), filler(1), field(Comments, 110)});
    set[2].line(7) = lineOf({label("Misc:", 5), filler(1), field(Miscellane, 110)});
    set[2].line(8) = fillerLine(150);

    set[4].line(1) = lineOf({field(Catalog, 8), field(Country, 20), field(Year, 5),
                             field(FaceValue, 20), field(Descriptio, 37)});

    for (int i = 0; i < 4; ++i) set[5].lines[i] = full[i];
    set[5].line(5) = fillerLine(150);
    return set;
}

ReportDefinition newReportTemplate() {
    ReportDefinition r = blankDefaultReport();
    r.width = 90;
    for (int kind = kTitleFont; kind <= kFootnoteFont; ++kind) {
        const bool bold = kind != kBodyFont && kind != kSpareFont;
        r.font(kind) = ReportFont{QStringLiteral("Courier New"), 10, bold};
    }
    r.verticalLines = true;
    r.horizontalLines = true;
    return r;
}

}  // namespace reports
