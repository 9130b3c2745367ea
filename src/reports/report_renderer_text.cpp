// The text-file side of the renderer (mode 3): lines of cells cut and padded to their widths,
// written to the file in large pieces.
#include <algorithm>

#include "engine/table.h"
#include "reports/report_renderer.h"

namespace reports {

namespace {

// A text field's stored bytes without the blanks (and NULs) that pad them.
std::string_view trimmedRight(std::string_view raw) {
    while (!raw.empty() && (raw.back() == ' ' || raw.back() == '\0')) raw.remove_suffix(1);
    return raw;
}

}  // namespace

void ReportRenderer::printTextCells(const ReportLine& line, LineUse use,
                                    const engine::RecordView* record, const Totals* totals) {
    // Text values cut and padded on the right, labels on the left, fillers blank; numbers and
    // dates whole or, when wider than their cell, the cell filled with '#'.
    const int n = entryCount(line);
    textLines_.startLine();
    for (int i = 0; i < n; ++i) {
        const LineEntry& e = line[i];
        const int width = std::min(e.width, kMaxCellWidth);
        if (e.isFiller() || (e.isLabel() && use == LineUse::Header)) {
            textLines_.appendSpaces(width);
        } else if (e.isLabel()) {
            textLines_.appendCell(e.label, width, true);
        } else if (use == LineUse::Header) {
            textLines_.appendCell(fieldLabel(e.fieldNumber), width);
        } else if (totals) {
            textLines_.appendWholeCell(totalValue(*totals, e.fieldNumber), width);
        } else if (record && isTextField(e.fieldNumber)) {
            // Text straight from the record: ASCII as stored, else through the code page.
            const int column = column_[e.fieldNumber];
            if (!characterField_[e.fieldNumber] ||
                !textLines_.appendAsciiCell(trimmedRight(record->raw(column)), width)) {
                record->textInto(column, scratch_);
                textLines_.appendCell(scratch_, width);
            }
        } else if (record && wholeNumberText(*record, e.fieldNumber)) {
            if (scratch_.size() <= static_cast<std::size_t>(width))
                textLines_.appendAsciiCell(scratch_, width);
            else
                textLines_.appendMarks(width);
        } else if (record) {
            textLines_.appendWholeCell(fieldValue(*record, e.fieldNumber), width);
        } else {
            textLines_.appendSpaces(width);
        }
    }
    textLines_.endLine();
    endTextLine();
}

bool ReportRenderer::wholeNumberText(const engine::RecordView& record, int fieldNumber) {
    // Whole numbers as stored, straight into their display text (into scratch_).
    if (fieldNumber < 1 || fieldNumber > collection::kFieldCount || !numericField_[fieldNumber])
        return false;
    const ValueKind kind = reportValueKind(fieldNumber);
    if (kind != ValueKind::WholeNumber && kind != ValueKind::PlainNumber) return false;
    return formats_.wholeNumberText(record.raw(column_[fieldNumber]),
                                    kind == ValueKind::WholeNumber, scratch_);
}

bool ReportRenderer::isTextField(int fieldNumber) const {
    return fieldNumber >= 1 && fieldNumber <= collection::kFieldCount &&
           column_[fieldNumber] >= 0 && reportValueKind(fieldNumber) == ValueKind::Text;
}

void ReportRenderer::lineToFile(const QString& text) {
    textLines_.addLine(text);
    endTextLine();
}

void ReportRenderer::endTextLine() {
    if (textLines_.buffer().size() >= (1 << 16)) flushText();
    engine_.newLine();
}

void ReportRenderer::flushText() {
    const QByteArray& bytes = textLines_.buffer();
    if (bytes.isEmpty()) return;
    if (!text_ || text_->write(bytes) != bytes.size()) writeFailed_ = true;
    textLines_.clear();
}

}  // namespace reports
