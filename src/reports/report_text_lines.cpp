#include "reports/report_text_lines.h"

#include <algorithm>

namespace reports {

namespace {

bool isAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

void TextLines::appendCell(QStringView text, int width, bool alignRight) {
    const QStringView cut = text.first(std::min<qsizetype>(text.size(), width));
    if (alignRight) appendSpaces(width - static_cast<int>(cut.size()));
    line_ += cut;
    if (!alignRight) appendSpaces(width - static_cast<int>(cut.size()));
}

void TextLines::appendCell(std::string_view utf8, int width) {
    if (!isAscii(utf8)) {
        appendCell(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())), width);
        return;
    }
    // ASCII: one byte is one character.
    const std::string_view cut = utf8.substr(0, std::min<std::size_t>(utf8.size(), width));
    line_ += QLatin1String(cut.data(), static_cast<qsizetype>(cut.size()));
    appendSpaces(width - static_cast<int>(cut.size()));
}

void TextLines::appendSpaces(int count) {
    if (count > 0) line_.resize(line_.size() + count, QLatin1Char(' '));
}

void TextLines::endLine() {
    const qsizetype at = buffer_.size();
    buffer_.resize(at + line_.size());
    char* out = buffer_.data() + at;
    for (const QChar c : std::as_const(line_)) {
        if (c.unicode() >= 0x80) {
            // Not ASCII: the whole line through Qt's encoder, as one piece.
            buffer_.resize(at);
            buffer_ += line_.toUtf8();
            break;
        }
        *out++ = static_cast<char>(c.unicode());
    }
    buffer_ += "\r\n";
}

void TextLines::addLine(QStringView text) {
    startLine();
    line_ += text;
    endLine();
}

}  // namespace reports
