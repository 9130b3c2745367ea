#include "reports/report_text_lines.h"

#include <algorithm>

namespace reports {

namespace {

bool isAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool isAscii(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

}  // namespace

void TextLines::startLine() {
    lineStart_ = buffer_.size();
    wide_ = false;
}

void TextLines::widen() {
    // The ASCII written so far, as characters, and on in UTF-16 from here.
    line_.resize(0);
    line_ += QLatin1String(buffer_.constData() + lineStart_, buffer_.size() - lineStart_);
    buffer_.truncate(lineStart_);
    wide_ = true;
}

void TextLines::appendCell(QStringView text, int width, bool alignRight) {
    const QStringView cut = text.first(std::min<qsizetype>(text.size(), width));
    if (!wide_ && !isAscii(cut)) widen();
    if (alignRight) appendSpaces(width - static_cast<int>(cut.size()));
    if (wide_) {
        line_ += cut;
    } else {
        for (const QChar c : cut) buffer_ += static_cast<char>(c.unicode());
    }
    if (!alignRight) appendSpaces(width - static_cast<int>(cut.size()));
}

bool TextLines::appendAsciiCell(std::string_view bytes, int width) {
    if (!isAscii(bytes)) return false;
    // One byte is one character.
    const std::string_view cut = bytes.substr(0, std::min<std::size_t>(bytes.size(), width));
    if (wide_)
        line_ += QLatin1String(cut.data(), static_cast<qsizetype>(cut.size()));
    else
        buffer_.append(cut.data(), static_cast<qsizetype>(cut.size()));
    appendSpaces(width - static_cast<int>(cut.size()));
    return true;
}

void TextLines::appendCell(std::string_view utf8, int width) {
    if (!appendAsciiCell(utf8, width))
        appendCell(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())), width);
}

void TextLines::appendSpaces(int count) {
    appendRepeated(' ', count);
}

void TextLines::appendRepeated(char c, int count) {
    if (count <= 0) return;
    if (wide_)
        line_.resize(line_.size() + count, QLatin1Char(c));
    else
        buffer_.append(count, c);
}

void TextLines::appendWholeCell(QStringView text, int width) {
    if (text.size() <= width)
        appendCell(text, width);
    else
        appendMarks(width);
}

void TextLines::appendMarks(int count) {
    appendRepeated('#', count);
}

void TextLines::endLine() {
    // A line with other characters goes through Qt's encoder as one piece.
    if (wide_) buffer_ += line_.toUtf8();
    buffer_ += "\r\n";
    wide_ = false;
    lineStart_ = buffer_.size();
}

void TextLines::addLine(QStringView text) {
    startLine();
    appendCell(text, static_cast<int>(std::min<qsizetype>(text.size(), 1 << 30)));
    endLine();
}

void TextLines::clear() {
    buffer_.resize(0);
    lineStart_ = 0;
    wide_ = false;
}

}  // namespace reports
