// The lines of a report's text file, built cell by cell.
//
// A cell is its text cut to the cell's width (in UTF-16 code units, as QString counts) and
// padded with spaces to that width, on the right or, for right-aligned cells, on the left. A
// finished line goes into the buffer as UTF-8 with a CR LF end; the caller writes the buffer to
// the file whenever it has grown. Made for millions of lines: the line being built and the
// buffer keep their capacity from line to line, and ASCII text, nearly all of a collection, is
// copied without conversion.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <string_view>

namespace reports {

class TextLines {
  public:
    void startLine() { line_.resize(0); }
    void appendCell(QStringView text, int width, bool alignRight = false);
    // The same for UTF-8 text (a field's text as the table engine gives it), left-aligned.
    void appendCell(std::string_view utf8, int width);
    void appendSpaces(int count);
    // Ends the line: it goes into the buffer.
    void endLine();
    // A whole line at once.
    void addLine(QStringView text);

    QByteArray& buffer() { return buffer_; }

  private:
    QString line_;
    QByteArray buffer_;
};

}  // namespace reports
