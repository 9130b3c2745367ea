#include "interchange/tellico_reader.h"

#include <fcntl.h>
#include <unistd.h>
#include <zip.h>

#include <QXmlStreamReader>
#include <cstring>

#include "interchange/byte_source.h"
#include "interchange/tellico_entry_scanner.h"
#include "interchange/tellico_xml_feed.h"
#include "interchange/transfer_error.h"

namespace interchange::tellico {

namespace {

// An entry (or the blanks before one) this long goes to the XML reader, which watches the
// length of texts.
constexpr std::size_t kMaxScanned = std::size_t(4) << 20;

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

QString zipReason(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString reason = QString::fromUtf8(zip_error_strerror(&error));
    zip_error_fini(&error);
    return reason;
}

bool startsWithZipSignature(const std::string& path) {
    const int fd = openRegularFile(path);
    char head[4] = {};
    const ssize_t n = ::read(fd, head, sizeof head);
    ::close(fd);
    return n == 4 && std::memcmp(head, "PK\x03\x04", 4) == 0;
}

// False when the XML declaration at the start of `head` names an encoding other than UTF-8.
bool declaresUtf8(std::string_view head) {
    if (head.substr(0, 3) == "\xEF\xBB\xBF") head.remove_prefix(3);
    if (head.substr(0, 5) != "<?xml") return true;
    head = head.substr(0, head.find("?>"));
    const std::size_t at = head.find("encoding");
    if (at == std::string_view::npos) return true;
    const std::size_t open = head.find_first_of("\"'", at);
    const std::size_t close =
        open == std::string_view::npos ? open : head.find(head[open], open + 1);
    if (close == std::string_view::npos) return false;
    return QString::fromLatin1(head.substr(open + 1, close - open - 1))
               .compare(QLatin1String("utf-8"), Qt::CaseInsensitive) == 0;
}

}  // namespace

struct TellicoReader::Source {
    zip_t* archive = nullptr;  // for the pictures
    int fd = -1;
    std::unique_ptr<XmlFeed> feed;
    QXmlStreamReader xml;
    EntryScanner scanner;
    // The entry scanner reads the entries while `fast`, from `pos` on; the XML reader has not
    // been given `lines` line ends and `columns` columns since it last read, and the last '<'
    // lies `sinceMarkup` bytes before `pos`.
    bool fast = false;
    std::uint64_t pos = 0;
    std::uint64_t lines = 0, columns = 0;
    qint64 sinceMarkup = 0;
    QString collectionName;  // as its start tag writes it

    ~Source() {
        if (archive) zip_discard(archive);
        if (fd >= 0) ::close(fd);
    }
    std::string blanks() {
        std::string b(std::size_t(lines), '\n');
        b.append(std::size_t(columns), ' ');
        lines = columns = 0;
        return b;
    }
};

TellicoReader::TellicoReader(const std::string& path, Reading reading)
    : path_(path), source_(std::make_unique<Source>()) {
    Source& s = *source_;
    std::unique_ptr<XmlBytes> bytes;
    if (startsWithZipSignature(path)) {
        int code = 0;
        s.archive = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
        if (!s.archive)
            throw TransferError(path + " is a damaged zip archive, perhaps cut off: " +
                                zipReason(code).toStdString() + ".");
        zip_file_t* member = zip_fopen(s.archive, "tellico.xml", 0);
        if (!member) throw TransferError(path + " holds no tellico.xml: it is no Tellico file.");
        zip_fclose(member);
        bytes = archiveXmlBytes(path);
    } else {
        s.fd = openRegularFile(path);
        bytes = fileXmlBytes(s.fd);
    }
    s.feed = std::make_unique<XmlFeed>(std::move(bytes));
    s.xml.setDevice(s.feed.get());
    const std::uint64_t first = reading == Reading::kScanEntries ? firstEntryStart() : 0;
    readHeader();
    // The scanner takes over after the first entry, which the XML reader reads; that is, when
    // the reader stands on the entry found, having read nothing after it, in a UTF-8 document.
    s.fast = first > 0 && atEntry_ && !s.feed->streaming();
    s.pos = first;
    if (!s.fast) s.feed->goOn();
}

// The position of the first "<entry" in the file, with the XML reader given the bytes up to the
// end of its start tag; 0 (the reader given everything) when there is none near the start, or
// the document is not in UTF-8.
std::uint64_t TellicoReader::firstEntryStart() {
    XmlFeed& feed = *source_->feed;
    try {
        for (;;) {
            const std::string_view head = feed.from(0);
            if (head.size() >= 2 &&
                (head[0] == '\0' || head[1] == '\0' || static_cast<unsigned char>(head[0]) >= 0xFE))
                break;  // UTF-16 or UTF-32
            if (!declaresUtf8(head)) break;
            for (std::size_t at = head.find("<entry"); at != std::string_view::npos;
                 at = head.find("<entry", at + 1)) {
                if (at + 6 >= head.size()) break;
                if (!blank(head[at + 6]) && head[at + 6] != '>' && head[at + 6] != '/') continue;
                const std::size_t end = startTagEnd(head, at + 6);
                if (end == kNoTagEnd) {
                    feed.stream(0, {}, 0);
                    return 0;
                }
                if (end == std::string_view::npos) break;
                feed.feed(0, end + 1, {}, 0);
                return at;
            }
            if (head.size() > kMaxScanned || !feed.more()) break;
        }
    } catch (const XmlBytesFailure&) {
        // The XML reader meets the failure itself.
    }
    feed.stream(0, {}, 0);
    return 0;
}

TellicoReader::~TellicoReader() = default;

bool TellicoReader::isZip() const {
    return source_->archive != nullptr;
}

void TellicoReader::failXml() const {
    const Source& s = *source_;
    const std::string where = s.archive ? "tellico.xml in " + path_ : path_;
    if (s.feed->tooLong())
        throw TransferError(where + " holds a text of more than 64 MB in one piece near line " +
                            std::to_string(s.xml.lineNumber()) + ": it is no Tellico data.");
    if (s.feed->failed())
        throw TransferError("Cannot read " + where +
                            (s.archive ? ": the archive is damaged." : "."));
    throw TransferError(where + " is not well-formed XML (line " +
                        std::to_string(s.xml.lineNumber()) + ", column " +
                        std::to_string(s.xml.columnNumber()) +
                        "): " + s.xml.errorString().toStdString() + ".");
}

void TellicoReader::readHeader() {
    QXmlStreamReader& xml = source_->xml;
    if (!xml.readNextStartElement()) failXml();
    if (xml.name() != QLatin1String("tellico"))
        throw TransferError(path_ + " is no Tellico file: its XML starts with <" +
                            xml.name().toString().toStdString() + ">.");
    // The first collection; Tellico itself reads only that one.
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("collection")) break;
        xml.skipCurrentElement();
    }
    if (xml.hasError()) failXml();
    if (xml.name() != QLatin1String("collection") || !xml.isStartElement())
        throw TransferError(path_ + " holds no Tellico collection.");
    source_->collectionName = xml.qualifiedName().toString();
    type_ = xml.attributes().value(QLatin1String("type")).toInt();
    title_ = xml.attributes().value(QLatin1String("title")).toString();
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("entry")) {
            atEntry_ = true;
            return;
        }
        if (xml.name() != QLatin1String("fields")) {
            xml.skipCurrentElement();
            continue;
        }
        while (xml.readNextStartElement()) {
            if (xml.name() != QLatin1String("field")) {
                xml.skipCurrentElement();
                continue;
            }
            const QXmlStreamAttributes a = xml.attributes();
            FieldDef f;
            f.name = a.value(QLatin1String("name")).toString();
            f.title = a.value(QLatin1String("title")).toString();
            f.category = a.value(QLatin1String("category")).toString();
            f.type = a.value(QLatin1String("type")).toInt();
            f.format = a.value(QLatin1String("format")).toInt();
            f.flags = a.value(QLatin1String("flags")).toInt();
            f.allowed = a.value(QLatin1String("allowed")).toString();
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("prop"))
                    f.props.emplace_back(xml.attributes().value(QLatin1String("name")).toString(),
                                         readText());
                else
                    xml.skipCurrentElement();
            }
            // "_default" stands for the collection type's own fields.
            if (f.name == QLatin1String("_default") && type_ == kStampCollection)
                fields_.insert(fields_.end(), stampCollectionFields().begin(),
                               stampCollectionFields().end());
            else
                fields_.push_back(std::move(f));
        }
    }
    if (xml.hasError()) failXml();
    done_ = true;  // a collection without entries
}

QString TellicoReader::readText() {
    QXmlStreamReader& xml = source_->xml;
    QString text;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType t = xml.readNext();
        if (t == QXmlStreamReader::Characters || t == QXmlStreamReader::EntityReference)
            text += xml.text();
        else if (t == QXmlStreamReader::StartElement)
            xml.skipCurrentElement();
        else if (t == QXmlStreamReader::EndElement)
            return text;
    }
    failXml();
}

// The value of element `element` of an entry (the reader on its start): plain text, a plural
// element's values, a date, or table rows.
void TellicoReader::readValue(Entry& entry, const QString& element) {
    QXmlStreamReader& xml = source_->xml;
    QString text;
    QStringList parts;  // a date's year, month, day or a row's columns
    bool hadChildren = false;
    bool dateParts = true;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType t = xml.readNext();
        if (t == QXmlStreamReader::Characters || t == QXmlStreamReader::EntityReference) {
            text += xml.text();
        } else if (t == QXmlStreamReader::StartElement) {
            hadChildren = true;
            const QString child = xml.name().toString();
            if (element == child + QLatin1Char('s')) {
                readValue(entry, child);  // one value of a field allowing several
            } else {
                dateParts =
                    dateParts && (child == QLatin1String("year") ||
                                  child == QLatin1String("month") || child == QLatin1String("day"));
                parts.append(readText());
            }
        } else if (t == QXmlStreamReader::EndElement) {
            if (!hadChildren)
                entry.add(element.toStdString(), text.toStdString());
            else if (!parts.isEmpty())
                entry.add(element.toStdString(),
                          parts.join(dateParts ? QStringLiteral("-") : QStringLiteral("::"))
                              .toStdString());
            return;
        }
    }
    failXml();
}

bool TellicoReader::readEntry(Entry& entry) {
    QXmlStreamReader& xml = source_->xml;
    if (!atEntry_) {
        // After an entry: the next sibling in the collection, skipping images and the like.
        for (;;) {
            if (!xml.readNextStartElement()) {
                if (xml.hasError()) failXml();
                done_ = true;  // the collection ends
                return false;
            }
            if (xml.name() == QLatin1String("entry")) break;
            if (xml.name() == QLatin1String("images") && !isZip()) {
                readEmbeddedImages();
                continue;
            }
            xml.skipCurrentElement();
        }
    }
    atEntry_ = false;
    while (xml.readNextStartElement()) {
        const QString element = xml.name().toString();
        readValue(entry, element);
    }
    if (xml.hasError()) failXml();
    return true;
}

bool TellicoReader::nextEntry(Entry& entry) {
    entry.clear();
    if (done_) return false;
    Source& s = *source_;
    std::uint64_t end = 0;  // of an entry the XML reader is to read
    try {
        if (s.fast) end = scanEntry(entry);
    } catch (const XmlBytesFailure&) {
        const std::string where = s.archive ? "tellico.xml in " + path_ : path_;
        throw TransferError("Cannot read " + where +
                            (s.archive ? ": the archive is damaged." : "."));
    }
    if (s.fast && end == 0) return !done_;  // scanned, or the collection's end
    const bool read = readEntry(entry);
    if (s.fast) {
        if (s.feed->streaming()) {
            s.fast = false;  // the reader needed more than the entry
        } else {
            const std::string_view read = s.feed->from(s.pos).substr(0, end - s.pos);
            s.sinceMarkup = qint64(read.size() - read.rfind('<') - 1);
            s.pos = end;
            s.feed->release(end);
        }
    }
    return read;
}

// Reads the entry at s.pos with the scanner (0), or finds where it ends for the XML reader to
// read it (its end), or hands the rest of the file to the XML reader (0, s.fast false), or
// finds the end of the collection (0, done_).
std::uint64_t TellicoReader::scanEntry(Entry& entry) {
    Source& s = *source_;
    XmlFeed& feed = *s.feed;
    const auto toReader = [&] {
        feed.stream(s.pos, s.blanks(), s.sinceMarkup);
        s.fast = false;
        return std::uint64_t(0);
    };
    if (atEntry_) {
        // The first entry: the XML reader has read its start tag and reads the rest.
        for (;;) {
            const SkimmedElement k = skimElement(feed.from(s.pos));
            if (k.result == ScanResult::kAccepted) {
                feed.extend(s.pos + k.length);
                return s.pos + k.length;
            }
            if (k.result == ScanResult::kRefused || feed.from(s.pos).size() > kMaxScanned ||
                !feed.more()) {
                feed.goOn();
                s.fast = false;
                return 0;
            }
        }
    }
    // The blanks before the entry.
    for (;;) {
        std::string_view v = feed.from(s.pos);
        std::size_t i = 0;
        for (; i < v.size() && blank(v[i]); ++i) {
            if (v[i] == '\n' || (v[i] == '\r' && i + 1 < v.size() && v[i + 1] != '\n')) {
                ++s.lines;
                s.columns = 0;
            } else if (v[i] == '\r') {
                if (i + 1 == v.size()) break;  // CR LF or a lone CR: told by the next byte
            } else {
                ++s.columns;
            }
        }
        s.pos += i;
        s.sinceMarkup += qint64(i);
        v = feed.from(s.pos);
        if (v.size() >= 16 && !blank(v[0])) break;
        if (v.size() > kMaxScanned || !feed.more()) {
            if (v.empty() || blank(v[0])) return toReader();
            break;
        }
    }
    std::string_view v = feed.from(s.pos);
    if (v.substr(0, 6) == "<entry" && v.size() > 6 && (blank(v[6]) || v[6] == '>' || v[6] == '/')) {
        for (;;) {
            const ScannedEntry r = s.scanner.scan(feed.from(s.pos), entry);
            if (r.result == ScanResult::kAccepted) {
                if (r.newlines > 0) {
                    s.lines += r.newlines;
                    s.columns = r.lastLineUnits;
                } else {
                    s.columns += r.lastLineUnits;
                }
                const std::string_view scanned = feed.from(s.pos).substr(0, r.length);
                s.sinceMarkup = qint64(r.length - scanned.rfind('<') - 1);
                s.pos += r.length;
                feed.release(s.pos);
                ++scanned_;
                return 0;
            }
            if (r.result == ScanResult::kRefused) break;
            if (feed.from(s.pos).size() > kMaxScanned || !feed.more()) return toReader();
        }
        entry.clear();
        // Refused: the XML reader reads it, from here to its end.
        for (;;) {
            const SkimmedElement k = skimElement(feed.from(s.pos));
            if (k.result == ScanResult::kAccepted) {
                feed.feed(s.pos, s.pos + k.length, s.blanks(), s.sinceMarkup);
                return s.pos + k.length;
            }
            if (k.result == ScanResult::kRefused || feed.from(s.pos).size() > kMaxScanned ||
                !feed.more())
                return toReader();
        }
    }
    // The collection's end: the XML reader would stop there too.
    const std::string end = "</" + s.collectionName.toStdString();
    if (v.substr(0, end.size()) == end) {
        std::size_t i = end.size();
        while (i < v.size() && blank(v[i])) ++i;
        if (i < v.size() && v[i] == '>') {
            done_ = true;
            return 0;
        }
    }
    return toReader();
}

void TellicoReader::readEmbeddedImages() {
    QXmlStreamReader& xml = source_->xml;
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("image")) {
            xml.skipCurrentElement();
            continue;
        }
        const QString id = xml.attributes().value(QStringLiteral("id")).toString();
        const QByteArray data = QByteArray::fromBase64(readText().toLatin1());
        if (!id.isEmpty() && !data.isEmpty()) embedded_[id] = data;
    }
    if (xml.hasError()) failXml();
}

QByteArray TellicoReader::embeddedImage(const QString& id) const {
    const auto it = embedded_.find(id);
    return it == embedded_.end() ? QByteArray() : it->second;
}

QByteArray TellicoReader::image(const QString& id) {
    const std::string name = "images/" + id.toStdString();
    zip_t* archive = source_->archive;
    zip_stat_t st;
    zip_stat_init(&st);
    if (!archive || zip_stat(archive, name.c_str(), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE))
        throw TransferError("The picture " + id.toStdString() + " is missing from " + path_ + ".");
    if (st.size > zip_uint64_t(256) << 20)
        throw TransferError("The picture " + id.toStdString() + " in " + path_ +
                            " is larger than 256 MB.");
    zip_file_t* f = zip_fopen(archive, name.c_str(), 0);
    if (!f)
        throw TransferError("Cannot read the picture " + id.toStdString() + " in " + path_ + ".");
    QByteArray bytes(qsizetype(st.size), Qt::Uninitialized);
    const zip_int64_t got = zip_fread(f, bytes.data(), st.size);
    zip_fclose(f);
    if (got != zip_int64_t(st.size))
        throw TransferError("The picture " + id.toStdString() + " in " + path_ + " is damaged.");
    return bytes;
}

}  // namespace interchange::tellico
