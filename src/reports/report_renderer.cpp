#include "reports/report_renderer.h"

#include <algorithm>

#include "collection/date_format.h"
#include "engine/table.h"
#include "reports/report_margins.h"

namespace reports {

namespace {

inline const QString kSentinel = QStringLiteral("zzxkytrweq");
constexpr int kGroupValueLength = 120;
constexpr double kInnerMargin = 2;  // hundredths of an inch at each side of a stop

}  // namespace

ValueKind reportValueKind(int fieldNumber) {
    switch (fieldNumber) {
        case 5:
        case 15:
            return ValueKind::Money;
        case 6:
        case 21:
            return ValueKind::WholeNumber;
        case 7:
            return ValueKind::PlainNumber;
        case 14:
            return ValueKind::Date;
        default:
            return ValueKind::Text;
    }
}

PageFont pageFont(const ReportFont& f) {
    return {f.name, f.size, f.bold, f.italic, f.underline, f.strikeOut, colorFromWindows(f.color)};
}

std::array<QString, collection::kFieldCount> defaultFieldLabels() {
    std::array<QString, collection::kFieldCount> labels;
    for (const auto& f : collection::stampSchema())
        labels[f.number - 1] =
            QString::fromLatin1(f.label.data(), static_cast<qsizetype>(f.label.size()));
    return labels;
}

ReportRenderer::ReportRenderer(const ReportDefinition& report, engine::Table& table,
                               PageEngine& engine, RenderSettings settings, QIODevice* text)
    : report_(report),
      table_(table),
      engine_(engine),
      settings_(std::move(settings)),
      text_(text),
      formats_(settings_.numericFormat, settings_.currencyFormat) {
    column_.fill(-1);
    characterField_.fill(false);
    numericField_.fill(false);
    for (const auto& f : collection::stampSchema()) {
        const int column = table_.fieldIndex(f.name);
        column_[f.number] = column;
        const engine::FieldType type =
            column >= 0 ? table_.fields()[column].type : engine::FieldType::Memo;
        characterField_[f.number] = type == engine::FieldType::Character;
        numericField_[f.number] =
            type == engine::FieldType::Numeric || type == engine::FieldType::Float;
    }
}

ReportRenderer::~ReportRenderer() = default;

// --- run events ------------------------------------------------------------------------------

void ReportRenderer::beforePrint() {
    // A damaged or hand-made definition's margins never reach the page unchecked.
    ReportDefinition margins = report_;
    clampMargins(margins, QSizeF(engine_.pageWidth(), engine_.pageHeight()));
    engine_.setMargins(margins.leftMargin, margins.rightMargin, margins.topMargin,
                       margins.bottomMargin);
    reportWidth_ = std::max(1, report_.width);
    lines_ = std::clamp(report_.numberOfLines, 0, kMaxBodyLines);
    printable_ = engine_.pageWidth() - engine_.leftMargin() - engine_.rightMargin();

    group1_ = group2_ = 0;
    if (report_.groupLevel1) {
        int found = 0;
        for (int level : settings_.sortLevels) {
            if (level < 1 || level > collection::kFieldCount) continue;
            (found == 0 ? group1_ : group2_) = level;
            if (++found == 2) break;
        }
        if (!report_.groupLevel2) group2_ = 0;
    }
    previous1_ = previous2_ = kSentinel;
    groupRawValid_ = false;
    headingPending_ = totalsPending_ = grandPending_ = false;
    firstGroup_ = true;
    grand_ = section_ = Totals();
    records_ = 0;
    writeFailed_ = false;
    textLines_.clear();
    table_.first();
}

void ReportRenderer::afterPrint() {
    flushText();
}

ReportRenderer::RunState ReportRenderer::state() const {
    RunState s;
    s.atEnd = table_.eof();
    s.position = s.atEnd ? 0 : table_.position();
    s.previous1 = previous1_;
    s.previous2 = previous2_;
    s.headingPending = headingPending_;
    s.totalsPending = totalsPending_;
    s.firstGroup = firstGroup_;
    s.grandPending = grandPending_;
    s.grand = grand_;
    s.section = section_;
    s.records = records_;
    return s;
}

void ReportRenderer::restore(const RunState& s) {
    if (s.atEnd) {
        table_.last();
        if (!table_.eof()) table_.next();
    } else {
        table_.moveTo(s.position);
    }
    previous1_ = s.previous1;
    previous2_ = s.previous2;
    groupRawValid_ = false;
    headingPending_ = s.headingPending;
    totalsPending_ = s.totalsPending;
    firstGroup_ = s.firstGroup;
    grandPending_ = s.grandPending;
    grand_ = s.grand;
    section_ = s.section;
    records_ = s.records;
}

void ReportRenderer::printHeader() {
    if (textMode()) {
        for (const QString& title : report_.titles)
            if (!title.isEmpty()) lineToFile(title);
        return;
    }
    engine_.setAreaTop(0.5);
    engine_.setAreaBottom(1.25);
    engine_.goToFirstLine();
    setFont(kTitleFont);
    for (const QString& title : report_.titles) {
        if (title.isEmpty()) continue;
        engine_.printCentred(title, engine_.pageWidth() / 2);
        engine_.newLine();
    }
}

bool ReportRenderer::printPage() {
    engine_.setAreaTop(1.25);
    engine_.setAreaBottom(engine_.pageHeight() - engine_.bottomMargin() - 0.75);
    pageEmpty_ = true;
    // The first line is placed in the font it is printed in: the column headers' when the
    // page starts with them.
    const bool headers = lines_ == 1 && report_.columnHeaders;
    setFont(headers ? kColumnHeaderFont : kBodyFont);
    engine_.goToFirstLine();
    if (headers) printColumnHeaders();
    if (lines_ == 1) setStops(report_.line(1), LineUse::SingleBody);

    bool newPage = false;
    while (fits(lines_) && !table_.eof() && !newPage && !engine_.aborted()) {
        if (totalsPending_ && !sectionTotals()) newPage = true;
        if (!newPage && headingPending_ && !groupHeading()) newPage = true;
        if (!newPage && group1_ > 0 && groupChanged(table_.current())) {
            if (!sectionTotals()) {
                headingPending_ = true;
                newPage = true;
            } else if (!groupHeading()) {
                newPage = true;
            }
        }
        if (newPage) break;
        printRecord();
        if (report_.useTotals) addToTotals();
        ++records_;
        table_.next();
        if (progress_ && (records_ & 255) == 0) progress_();
    }
    if (table_.eof()) grandTotals();
    return !(table_.eof() && !grandPending_);
}

bool ReportRenderer::groupChanged(const engine::RecordView& record) {
    // A group value is the display text of the field's stored bytes: the same bytes as at the
    // last record give the same values, and those were compared then.
    const auto rawOf = [&](int fieldNumber) {
        const int column = fieldNumber > 0 ? column_[fieldNumber] : -1;
        return column >= 0 ? record.raw(column) : std::string_view();
    };
    const std::string_view raw1 = rawOf(group1_), raw2 = rawOf(group2_);
    if (groupRawValid_ && raw1 == groupRaw1_ && raw2 == groupRaw2_) return false;

    const QString value1 = fieldValue(record, group1_).left(kGroupValueLength);
    bool change = false;
    if (group2_ > 0) {
        const QString value2 = fieldValue(record, group2_).left(kGroupValueLength);
        if (value2 != previous2_) {
            change = true;
            previous2_ = value2;
        } else {
            change = value1 != previous1_;
        }
    } else {
        change = value1 != previous1_;
    }
    if (change) previous1_ = value1;
    // The previous values are now this record's.
    groupRaw1_.assign(raw1);
    groupRaw2_.assign(raw2);
    groupRawValid_ = true;
    return change;
}

void ReportRenderer::printFooter() {
    const QString page =
        report_.pageNumbers ? QStringLiteral("Page %1").arg(engine_.pageNumber()) : QString();
    const QString date = report_.dateOnPages && settings_.today.isValid()
                             ? collection::currentDateFormat().format(settings_.today)
                             : QString();
    if (textMode()) {
        lineToFile(QString());
        QString line = page + QStringLiteral("     ");
        if (report_.dateOnPages) line += QStringLiteral("     ") + date;
        lineToFile(line + QChar(12));
        return;
    }
    engine_.setAreaTop(engine_.pageHeight() - engine_.bottomMargin() - 0.5);
    engine_.setAreaBottom(engine_.pageHeight() - engine_.bottomMargin());
    setFont(kFootnoteFont);
    engine_.goToFirstLine();
    if (!page.isEmpty()) engine_.printAligned(page, Justify::Left);
    if (!date.isEmpty()) engine_.printAligned(date, Justify::Right);
}

// --- pieces ----------------------------------------------------------------------------------

bool ReportRenderer::fits(int lines) const {
    return pageEmpty_ || engine_.linesLeft() >= lines;
}

void ReportRenderer::setFont(int kind) {
    if (kind < kTitleFont || kind > kFootnoteFont || kind == kSpareFont) return;
    engine_.setFont(pageFont(report_.font(kind)));
}

int ReportRenderer::entryCount(const ReportLine& line) const {
    int n = 0;
    while (n < kEntriesPerLine && line[n].width >= 1) ++n;
    return n;
}

void ReportRenderer::setStops(const ReportLine& line, LineUse use) {
    engine_.clearTabs();
    if (textMode()) return;
    int box = 0;
    if (use == LineUse::Header || use == LineUse::SingleBody) {
        if (report_.verticalLines) box |= kBoxLeft | kBoxRight;
        if (report_.horizontalLines) box |= kBoxTop | kBoxBottom;
    }
    const int n = entryCount(line);
    for (int i = 0; i < n; ++i) {
        const LineEntry& e = line[i];
        Justify justify = Justify::Left;
        if (use == LineUse::Header) {
            justify = Justify::Centre;
        } else if (use == LineUse::SingleBody) {
            const bool number = e.isField() && reportValueKind(e.fieldNumber) != ValueKind::Text &&
                                reportValueKind(e.fieldNumber) != ValueKind::Date;
            if (number) justify = Justify::Right;
        } else if (e.isLabel()) {
            justify = Justify::Right;
        }
        const double width = static_cast<double>(e.width) / reportWidth_ * printable_;
        engine_.setTab({-1, justify, width, static_cast<int>(kInnerMargin), box});
    }
}

QString ReportRenderer::fieldValue(const engine::RecordView& record, int fieldNumber) const {
    if (fieldNumber < 1 || fieldNumber > collection::kFieldCount) return QString();
    const int column = column_[fieldNumber];
    if (column < 0) return QString();
    switch (reportValueKind(fieldNumber)) {
        case ValueKind::Text:
            record.textInto(column, scratch_);
            return QString::fromUtf8(scratch_.data(), static_cast<qsizetype>(scratch_.size()));
        case ValueKind::Date: {
            const engine::Date d = record.date(column);
            return d.blank()
                       ? QString()
                       : collection::currentDateFormat().format(QDate(d.year, d.month, d.day));
        }
        case ValueKind::Money:
            if (const auto v = record.number(column)) return formats_.money(*v, 0);
            return QString();
        case ValueKind::WholeNumber:
            if (const auto v = record.number(column)) return formats_.grouped(*v, 0, 0);
            return QString();
        case ValueKind::PlainNumber:
            if (const auto v = record.number(column)) return formats_.plain(*v, 0, 0);
            return QString();
    }
    return QString();
}

QString ReportRenderer::totalValue(const Totals& totals, int number) const {
    switch (number) {
        case 1:
            return formats_.money(totals.market, 0);
        case 2:
            return formats_.money(totals.purchase, 0);
        case 3:
            return formats_.grouped(totals.quantity, 0, 0);
        default:
            return QString();
    }
}

void ReportRenderer::printCells(const ReportLine& line, LineUse use,
                                const engine::RecordView* record, const Totals* totals) {
    if (textMode()) {
        printTextCells(line, use, record, totals);
        return;
    }
    placeCells(line, use, record, totals);
    engine_.newLine();
}

void ReportRenderer::placeCells(const ReportLine& line, LineUse use,
                                const engine::RecordView* record, const Totals* totals) {
    if (textMode() || !engine_.placesItems()) return;  // a run that only counts lines
    const int n = entryCount(line);
    for (int i = 0; i < n; ++i) {
        const LineEntry& e = line[i];
        QString value;
        if (e.isLabel()) {
            if (use != LineUse::Header) value = e.label;
        } else if (e.isField()) {
            if (use == LineUse::Header)
                value = fieldLabel(e.fieldNumber);
            else if (totals)
                value = totalValue(*totals, e.fieldNumber);
            else if (record)
                value = fieldValue(*record, e.fieldNumber);
        }
        // Text may lose its end to fit; a number or date never shows as a different one.
        if (showsWhole(e, use, totals))
            engine_.printWholeInStop(i, value);
        else
            engine_.printInStop(i, engine_.fitText(value, engine_.usableTabWidth(i)));
    }
}

bool ReportRenderer::showsWhole(const LineEntry& entry, LineUse use, const Totals* totals) {
    if (!entry.isField() || use == LineUse::Header) return false;
    return totals || reportValueKind(entry.fieldNumber) != ValueKind::Text;
}

QString ReportRenderer::fieldLabel(int fieldNumber) const {
    return fieldNumber >= 1 && fieldNumber <= collection::kFieldCount
               ? settings_.fieldLabels[fieldNumber - 1]
               : QString();
}

void ReportRenderer::printColumnHeaders() {
    // The header line is as high as its own font; the line after it as high as the body's.
    // (The text file counts its lines as the paper's.)
    setFont(kColumnHeaderFont);
    setStops(report_.line(1), LineUse::Header);
    placeCells(report_.line(1), LineUse::Header, nullptr, nullptr);
    setFont(kBodyFont);
    if (textMode())
        printTextCells(report_.line(1), LineUse::Header, nullptr, nullptr);
    else
        engine_.newLine();
}

void ReportRenderer::printRecord() {
    if (lines_ == 0) return;
    const engine::RecordView record = table_.current();
    if (lines_ == 1) {
        printCells(report_.line(1), LineUse::SingleBody, &record, nullptr);
    } else {
        for (int n = 1; n <= lines_; ++n) {
            setStops(report_.line(n), LineUse::MultiBody);
            printCells(report_.line(n), LineUse::MultiBody, &record, nullptr);
        }
    }
    pageEmpty_ = false;
}

void ReportRenderer::addToTotals() {
    const engine::RecordView record = table_.current();
    const auto value = [&](int fieldNumber) -> double {
        const int column = column_[fieldNumber];
        if (column < 0) return 0;
        return record.number(column).value_or(0);
    };
    const double q = value(6);
    const double market = q * value(5), purchase = q * value(15);
    for (Totals* t : {&grand_, &section_}) {
        t->market += market;
        t->purchase += purchase;
        t->quantity += q;
    }
}

bool ReportRenderer::sectionTotals() {
    if (firstGroup_) {
        firstGroup_ = false;
        totalsPending_ = false;
        return true;
    }
    if (!report_.useTotals) return true;
    if (!fits(lines_ + 3)) {
        totalsPending_ = true;
        return false;
    }
    totalsHeading(QStringLiteral("TOTALS"));
    setStops(report_.totals, LineUse::TotalsLine);
    printCells(report_.totals, LineUse::TotalsLine, nullptr, &section_);
    section_ = Totals();
    totalsPending_ = false;
    if (lines_ == 1) setStops(report_.line(1), LineUse::SingleBody);
    pageEmpty_ = false;
    return true;
}

QString ReportRenderer::centringSpaces(const QString& text) const {
    const qsizetype n = (reportWidth_ - text.size()) / 2;
    return QString(std::clamp<qsizetype>(n, 0, kMaxCellWidth), QLatin1Char(' '));
}

void ReportRenderer::totalsHeading(const QString& text) {
    if (textMode()) {
        lineToFile(centringSpaces(text) + text);
        return;
    }
    const QString fitted = engine_.fitText(text, printable_ - 0.2);
    const double width = fitted == text ? engine_.textWidth(fitted) : printable_;
    engine_.clearTabs();
    engine_.setTab({engine_.leftMargin() + (printable_ - width) / 2, Justify::Centre, width + 0.2,
                    0, kBoxBottom});
    engine_.printLine(QLatin1Char('\t') + fitted);
}

bool ReportRenderer::groupHeading() {
    // On paper a heading takes an empty line and the boxed heading; in the text file an empty
    // line and three (rule, heading, rule), and it reserves what it takes there, so the text
    // file's pages are never longer than the paper's.
    if (!fits(lines_ + (textMode() ? 4 : 2))) {
        headingPending_ = true;
        return false;
    }
    QString heading = previous1_;
    if (group2_ > 0) heading += QStringLiteral(", ") + previous2_;
    if (textMode()) {
        const QString spaces = centringSpaces(heading);
        const QString rule(heading.size(), QLatin1Char('-'));
        lineToFile(QString());
        lineToFile(spaces + rule);
        lineToFile(spaces + heading);
        lineToFile(spaces + rule);
    } else {
        const QString fitted = engine_.fitText(heading, printable_ - 0.2);
        const double width = fitted == heading ? engine_.textWidth(fitted) : printable_;
        engine_.newLine();
        engine_.clearTabs();
        engine_.setTab({engine_.leftMargin() + (printable_ - width) / 2, Justify::Centre,
                        width + 0.2, 0, kBoxAll});
        engine_.printLine(QLatin1Char('\t') + fitted);
        if (lines_ == 1) setStops(report_.line(1), LineUse::SingleBody);
    }
    headingPending_ = false;
    pageEmpty_ = false;
    return true;
}

void ReportRenderer::grandTotals() {
    if (report_.useTotals && !fits(5)) {
        grandPending_ = true;
        return;
    }
    if (report_.useTotals) {
        totalsHeading(QStringLiteral("TOTALS"));
        setStops(report_.totals, LineUse::TotalsLine);
        printCells(report_.totals, LineUse::TotalsLine, nullptr, &section_);
        if (textMode())
            lineToFile(QString());
        else
            engine_.newLine();
        totalsHeading(QStringLiteral("GRAND TOTALS"));
        setStops(report_.totals, LineUse::TotalsLine);
        printCells(report_.totals, LineUse::TotalsLine, nullptr, &grand_);
        pageEmpty_ = false;
    }
    grandPending_ = false;
}

}  // namespace reports
