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
// Entries in the form Tellico and our export write them are read straight from the bytes by the
// entry scanner (tellico_entry_scanner.h), giving the same values; QXmlStreamReader reads the
// header, every entry the scanner refuses, and everything after the entries, and so gives every
// message about damaged XML, at the file's own line and column. An archive's XML is inflated on
// a thread of its own (tellico_xml_bytes.h).
//
// Threads: entries may be read on one thread while image() is called on another (each has its
// own handle on the archive); embeddedImage() once nextEntry() has returned false.
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
#include "interchange/tellico_xml_feed.h"

namespace interchange::tellico {

class TellicoReader {
  public:
    // How entries are read: by the entry scanner where it can (tellico_entry_scanner.h), the
    // XML reader reading the rest; or all by the XML reader (to compare the two).
    enum class Reading { kScanEntries, kXmlReaderOnly };
    explicit TellicoReader(const std::string& path, Reading reading = Reading::kScanEntries);
    ~TellicoReader();
    TellicoReader(const TellicoReader&) = delete;
    TellicoReader& operator=(const TellicoReader&) = delete;

    int collectionType() const { return type_; }
    const QString& title() const { return title_; }
    const std::vector<FieldDef>& fields() const { return fields_; }
    bool isZip() const;

    // Reads the next entry into `entry` (cleared first); false after the last one.
    bool nextEntry(Entry& entry);
    // How many entries the entry scanner read.
    std::uint64_t scannedEntries() const { return scanned_; }

    // The bytes of picture `id` from the archive's "images/" folder. Throws TransferError naming
    // it when the archive does not hold it (or the file is no archive).
    QByteArray image(const QString& id);
    // An XML file (not an archive) may carry its pictures in its <images> element, after the
    // entries, in base64: picture `id` once every entry has been read; empty when it has none.
    QByteArray embeddedImage(const QString& id) const;

  private:
    struct Source;
    [[noreturn]] void failXml() const;
    std::uint64_t firstEntryStart();
    void readHeader();
    bool readEntry(Entry& entry);  // by the XML reader
    std::uint64_t scanEntry(Entry& entry);
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
    std::uint64_t scanned_ = 0;
    std::map<QString, QByteArray> embedded_;
};

}  // namespace interchange::tellico
