#include "interchange/tellico_reader.h"

#include <fcntl.h>
#include <unistd.h>
#include <zip.h>

#include <QXmlStreamReader>
#include <cstring>

#include "interchange/byte_source.h"
#include "interchange/tellico_reader_source.h"
#include "interchange/transfer_error.h"

namespace interchange::tellico {

namespace {

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

}  // namespace

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
