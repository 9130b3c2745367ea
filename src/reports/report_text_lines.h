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
    void startLine();
    void appendCell(QStringView text, int width, bool alignRight = false);
    // The same for UTF-8 text (a field's text as the table engine gives it), left-aligned.
    void appendCell(std::string_view utf8, int width);
    // `bytes` as a left-aligned cell when they are all ASCII; else false and nothing added.
    bool appendAsciiCell(std::string_view bytes, int width);
    void appendSpaces(int count);
    // A number or date, which must never lose a character: as appendCell when it fits, else
    // the cell filled with '#', as spreadsheets mark a number too wide for its column.
    void appendWholeCell(QStringView text, int width);
    void appendMarks(int count);
    // Ends the line: it goes into the buffer.
    void endLine();
    // A whole line at once.
    void addLine(QStringView text);

    // Finished lines, for the caller to write out; clear() after writing.
    const QByteArray& buffer() const { return buffer_; }
    void clear();

  private:
    void widen();
    void appendRepeated(char c, int count);

    // A line is written into the buffer as it is built while it is all ASCII; from its first
    // other character on, it is built in line_ and encoded when it ends.
    QByteArray buffer_;
    qsizetype lineStart_ = 0;
    bool wide_ = false;
    QString line_;
};

}  // namespace reports
