#include "interchange/tellico_run.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <cstdio>

#include "collection/stamp_schema.h"
#include "engine/table.h"
#include "interchange/read_ahead.h"
#include "interchange/tellico_mapping.h"
#include "interchange/tellico_reader.h"
#include "interchange/tellico_writer.h"
#include "interchange/transfer_error.h"
#include "interchange/value_conversion.h"

namespace interchange {

namespace {

constexpr int kDateField = 14;

std::string isoDate(const engine::Date& d) {
    if (d.blank()) return {};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    return text;
}

}  // namespace

TellicoSource readTellicoSource(const std::string& path) {
    tellico::TellicoReader reader(path);
    TellicoSource source;
    source.type = reader.collectionType();
    source.typeName = tellico::collectionTypeName(source.type);
    source.title = reader.title();
    if (source.type == tellico::kStampCollection) source.plan = tellico::importPlan(reader.fields());
    return source;
}

QString tellicoTypeRefusal(const TellicoSource& source) {
    if (source.type == tellico::kStampCollection) return {};
    return QStringLiteral("The Tellico file holds a %1 (collection type %2), not a stamp collection "
                          "(type 9).  Only stamp collections can be imported; nothing was "
                          "imported.")
        .arg(source.typeName)
        .arg(source.type);
}

bool isTellicoName(const QString& path) {
    return path.endsWith(QLatin1String(".tc"), Qt::CaseInsensitive) ||
           path.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive);
}

namespace {

// The pictures of the entries: taken from the archive as each entry is read (so a missing one
// stops the run before its entry goes in), stored once its record is posted. An XML file names
// picture files (a path or a file URL, relative to the file), or carries the pictures in base64
// after its entries: those are looked up once every entry is read.
class EntryPictures {
  public:
    EntryPictures(tellico::TellicoReader& reader, const engine::Table& table, ImportPictures* sink,
                  const std::string& path)
        : reader_(reader),
          table_(table),
          sink_(sink),
          folder_(QFileInfo(QString::fromStdString(path)).absolutePath()) {}

    void read(const std::vector<std::string>& ids) {
        ids_.clear();
        bytes_.clear();
        if (ids.empty()) return;
        for (const std::string& id : ids) ids_.append(QString::fromStdString(id));
        if (!reader_.isZip()) return;
        for (const QString& id : ids_) bytes_.push_back(reader_.image(id));
    }

    void posted(std::uint32_t recno) {
        if (!sink_) return;
        if (reader_.isZip()) {
            for (qsizetype i = 0; i < ids_.size(); ++i)
                sink_->addBytes(table_, recno, bytes_[std::size_t(i)], ids_[i]);
            return;
        }
        // Order is kept: once one picture waits for the end, the rest of the stamp's wait too.
        for (const QString& id : ids_) {
            const QByteArray file = linkedFile(id);
            if (!file.isEmpty() && (waiting_.empty() || waiting_.back().first != recno))
                sink_->addBytes(table_, recno, file, id);
            else
                waiting_.emplace_back(recno, id);
        }
    }

    void atEnd() {
        if (!sink_) return;
        for (const auto& [recno, id] : waiting_) {
            QByteArray bytes = reader_.embeddedImage(id);
            if (bytes.isEmpty()) bytes = linkedFile(id);
            if (bytes.isEmpty())
                sink_->missed(id.toStdString());
            else
                sink_->addBytes(table_, recno, bytes, id);
        }
        waiting_.clear();
    }

  private:
    QByteArray linkedFile(const QString& id) const {
        const QUrl url(id);
        const QString path =
            url.isLocalFile() ? url.toLocalFile() : QDir(folder_).absoluteFilePath(id);
        QFile file(path);
        if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return {};
        return file.readAll();
    }

    tellico::TellicoReader& reader_;
    const engine::Table& table_;
    ImportPictures* sink_;
    QString folder_;
    QStringList ids_;
    std::vector<QByteArray> bytes_;
    std::vector<std::pair<std::uint32_t, QString>> waiting_;
};

}  // namespace

ImportResult importTellico(engine::Table& table, const std::string& path,
                           const ImportOptions& options) {
    std::unique_ptr<tellico::TellicoReader> reader;
    try {
        reader = std::make_unique<tellico::TellicoReader>(path);
    } catch (const std::exception& e) {
        ImportResult failed;
        failed.error = e.what();
        return failed;
    }
    TellicoSource source;
    source.type = reader->collectionType();
    source.typeName = tellico::collectionTypeName(source.type);
    if (const QString refusal = tellicoTypeRefusal(source); !refusal.isEmpty()) {
        ImportResult refused;
        refused.error = refusal.toStdString();
        return refused;
    }
    FieldAssignment identity;
    for (int f = 1; f <= collection::kFieldCount; ++f) identity.push_back(f);
    const collection::DateFormat dates = withFourDigitYears(options.dateFormat);
    const tellico::EntryMapping mapping(reader->fields());
    EntryPictures pictures(*reader, table, options.pictures, path);
    // Entries are read on one thread and turned into stamp values on another while the records
    // are posted (the reader's pictures are taken on this thread: the reading does not use them);
    // sixteen batches ahead let the reading ride out the moments the machine is busy elsewhere.
    ReadAhead<tellico::Entry> entries(
        [&](tellico::Entry& entry) { return reader->nextEntry(entry); }, 256, 16);
    ReadAhead<tellico::StampValues> stamps([&](tellico::StampValues& stamp) {
        const tellico::Entry* entry = entries.next();
        if (!entry) return false;
        tellico::stampValues(*entry, mapping, stamp);
        std::string& date = stamp.fields[kDateField - 1];
        date.clear();
        if (stamp.year != 0) appendDateText(date, {stamp.year, stamp.month, stamp.day}, dates);
        return true;
    }, 256, 16);
    return importRecords(
        table, identity, options,
        [&](std::vector<std::string>& values) {
            tellico::StampValues* stamp = stamps.next();
            if (!stamp) {
                pictures.atEnd();
                return false;
            }
            // A picture missing from the archive ends the run before its entry is posted.
            pictures.read(stamp->images);
            values.swap(stamp->fields);
            return true;
        },
        [&](std::uint32_t recno) { pictures.posted(recno); });
}

ExportResult exportTellico(engine::Table& source, const std::string& path,
                           const ExportRequest& request, const QString& collectionTitle) {
    ExportResult result;
    result.error = refusedTarget(source, path);
    if (!result.error.empty()) return result;
    try {
        std::vector<tellico::FieldDef> fields = tellico::stampCollectionFields();
        const std::vector<tellico::FieldDef>& own = tellico::ourOwnFields();
        fields.insert(fields.end(), own.begin(), own.end());
        ExportPictures* pictures = request.pictures;
        const std::vector<tellico::FieldDef> more =
            tellico::morePictureFields(pictures ? pictures->mostPictures() : 0);
        fields.insert(fields.end(), more.begin(), more.end());
        tellico::TellicoWriter writer(path, collectionTitle, tellico::kStampCollection, fields);
        std::vector<int> from;
        for (int f = 1; f <= collection::kFieldCount; ++f)
            from.push_back(source.fieldIndex(collection::schemaField(f).name));
        std::vector<std::string> values(std::size_t(collection::kFieldCount));
        for (source.first(); !source.eof(); source.next()) {
            const engine::RecordView r = source.current();
            for (std::size_t i = 0; i < from.size(); ++i) {
                values[i].clear();
                if (from[i] < 0) continue;
                if (int(i) + 1 == kDateField)
                    values[i] = isoDate(r.date(from[i]));
                else
                    editTextInto(r, from[i], source.fields()[std::size_t(from[i])],
                                 request.dateFormat, values[i]);
            }
            tellico::Entry entry = tellico::tellicoEntry(values);
            if (pictures) {
                int k = 0;
                for (const ExportedPicture& p : pictures->pictures(r.recNo())) {
                    if (k > int(more.size())) break;  // added since the fields were declared
                    const QString id = writer.addImageFile(p.path, p.extension, p.size);
                    entry.add(k == 0 ? std::string("image")
                                     : more[std::size_t(k - 1)].name.toStdString(),
                              id.toStdString());
                    ++k;
                }
            }
            writer.addEntry(entry);
            ++result.written;
            if (request.progress) request.progress(result.written);
        }
        writer.finish();
        if (pictures) {
            pictures->putInPlace();
            result.pictures = pictures->outcome();
        }
    } catch (const std::exception& e) {
        result.error = e.what();
    }
    return result;
}

}  // namespace interchange
