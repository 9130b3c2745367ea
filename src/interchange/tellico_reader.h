// TellicoReader: a Tellico data file read entry by entry: a ".tc" zip archive holding
// "tellico.xml" (and the pictures under "images/"), or the XML file by itself; which one is told
// by the file's first bytes, not its name.
//
// Opening reads the collection's header: its type, its title and its field definitions, up to
// the first entry. nextEntry() then reads one entry at a time, so a large collection is never
// held whole in memory; image() takes a picture out of the archive.
//
// An entry's values: an element named after a field holds its value; a plural element (<years>)
// holds one element per value (<year>); a date element (<cdate>) holds <year>, <month> and <day>,
// given as YYYY-MM-DD; table rows hold <column>s, joined by "::" as Tellico shows them.
//
// Failures throw TransferError with a message naming the file and the problem: a file that
// cannot be read or is not a regular one, a damaged or cut-off zip archive, an archive without
// tellico.xml, XML that is not well formed (with its line and column), a text of more than
// 64 MB in one piece, a file that holds no Tellico collection, a picture missing from the archive.
// Entries read before a failure stay valid.
#pragma once

#include <QByteArray>
#include <QString>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "interchange/tellico_fields.h"

namespace interchange::tellico {

inline constexpr qint64 kMaxTextBytes = qint64(64) << 20;

class TellicoReader {
  public:
    explicit TellicoReader(const std::string& path);
    ~TellicoReader();
    TellicoReader(const TellicoReader&) = delete;
    TellicoReader& operator=(const TellicoReader&) = delete;

    int collectionType() const { return type_; }
    const QString& title() const { return title_; }
    const std::vector<FieldDef>& fields() const { return fields_; }
    bool isZip() const;

    // Reads the next entry into `entry` (cleared first); false after the last one.
    bool nextEntry(Entry& entry);

    // The bytes of picture `id` from the archive's "images/" folder. Throws TransferError naming
    // it when the archive does not hold it (or the file is no archive).
    QByteArray image(const QString& id);
    // An XML file (not an archive) may carry its pictures in its <images> element, after the
    // entries, in base64: picture `id` once every entry has been read; empty when it has none.
    QByteArray embeddedImage(const QString& id) const;

  private:
    struct Source;
    [[noreturn]] void failXml() const;
    void readHeader();
    QString readText();  // the text of the current element, up to its end
    void readValue(Entry& entry, const QString& element);
    void readEmbeddedImages();

    std::string path_;
    std::unique_ptr<Source> source_;
    int type_ = 0;
    QString title_;
    std::vector<FieldDef> fields_;
    bool atEntry_ = false;  // the reader stands on an <entry> start
    bool done_ = false;
    std::map<QString, QByteArray> embedded_;
};

}  // namespace interchange::tellico
