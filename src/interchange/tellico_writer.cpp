#include "interchange/tellico_writer.h"

#include <zip.h>

#include <QCryptographicHash>
#include <QFile>

#include "collection/replacing_file.h"
#include "interchange/transfer_error.h"

namespace interchange::tellico {

namespace {

// Closes an archive being written when it is given up on.
struct ArchiveGuard {
    zip_t* archive = nullptr;
    ~ArchiveGuard() {
        if (archive) zip_discard(archive);
    }
};

}  // namespace

TellicoWriter::TellicoWriter(const std::string& path, const QString& title, int type,
                             const std::vector<FieldDef>& fields)
    : path_(path), buffer_(&xmlBytes_) {
    try {
        file_ = std::make_unique<collection::ReplacingFile>(path);
        file_->closeFile();
    } catch (const std::runtime_error& e) {
        throw TransferError(e.what());
    }
    buffer_.open(QIODevice::WriteOnly);
    xml_.setDevice(&buffer_);
    xml_.setAutoFormatting(true);
    xml_.setAutoFormattingIndent(1);
    xml_.writeStartDocument();
    xml_.writeDTD(QStringLiteral(
        "<!DOCTYPE tellico PUBLIC '-//Robby Stephenson/DTD Tellico V11.0//EN' "
        "'http://periapsis.org/tellico/dtd/v11/tellico.dtd'>"));
    xml_.writeStartElement(QStringLiteral("tellico"));
    xml_.writeDefaultNamespace(QStringLiteral("http://periapsis.org/tellico/"));
    xml_.writeAttribute(QStringLiteral("syntaxVersion"), QStringLiteral("11"));
    xml_.writeStartElement(QStringLiteral("collection"));
    xml_.writeAttribute(QStringLiteral("title"), title);
    xml_.writeAttribute(QStringLiteral("type"), QString::number(type));
    xml_.writeStartElement(QStringLiteral("fields"));
    for (const FieldDef& f : fields) {
        xml_.writeStartElement(QStringLiteral("field"));
        xml_.writeAttribute(QStringLiteral("title"), f.title);
        if (!f.allowed.isEmpty()) xml_.writeAttribute(QStringLiteral("allowed"), f.allowed);
        xml_.writeAttribute(QStringLiteral("category"), f.category);
        xml_.writeAttribute(QStringLiteral("type"), QString::number(f.type));
        xml_.writeAttribute(QStringLiteral("format"), QString::number(f.format));
        xml_.writeAttribute(QStringLiteral("name"), f.name);
        xml_.writeAttribute(QStringLiteral("flags"), QString::number(f.flags));
        for (const auto& [name, value] : f.props) {
            xml_.writeStartElement(QStringLiteral("prop"));
            xml_.writeAttribute(QStringLiteral("name"), name);
            xml_.writeCharacters(value);
            xml_.writeEndElement();
        }
        xml_.writeEndElement();
        if (f.flags & 1) multiple_.insert(f.name);
    }
    xml_.writeEndElement();  // fields
}

TellicoWriter::~TellicoWriter() = default;

void TellicoWriter::addEntry(const Entry& entry) {
    xml_.writeStartElement(QStringLiteral("entry"));
    xml_.writeAttribute(QStringLiteral("id"), QString::number(nextId_++));
    const auto text = [](std::string_view v) {
        return QString::fromUtf8(v.data(), qsizetype(v.size()));
    };
    for (std::size_t i = 0; i < entry.size(); ++i) {
        const QString name = text(entry.name(i));
        if (multiple_.count(name)) {
            xml_.writeStartElement(name + QLatin1Char('s'));
            for (std::size_t k = 0; k < entry.count(i); ++k)
                xml_.writeTextElement(name, text(entry.value(i, k)));
            xml_.writeEndElement();
        } else {
            xml_.writeTextElement(name, text(entry.value(i)));
        }
    }
    xml_.writeEndElement();
}

QString TellicoWriter::addImage(const QByteArray& bytes, const QString& extension, QSize size) {
    const QString id =
        QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex()) +
        QLatin1Char('.') + extension.toLower();
    if (imageIds_.insert(id).second) images_.push_back({id, extension.toLower(), size, bytes, {}});
    return id;
}

QString TellicoWriter::addImageFile(const QString& path, const QString& extension, QSize size) {
    QFile file(path);
    QCryptographicHash md5(QCryptographicHash::Md5);
    if (!file.open(QIODevice::ReadOnly) || !md5.addData(&file))
        throw TransferError("Cannot read the picture " + path.toStdString() + ": " +
                            file.errorString().toStdString() + ".");
    const QString id =
        QString::fromLatin1(md5.result().toHex()) + QLatin1Char('.') + extension.toLower();
    if (imageIds_.insert(id).second) images_.push_back({id, extension.toLower(), size, {}, path});
    return id;
}

void TellicoWriter::finish() {
    if (!images_.empty()) {
        xml_.writeStartElement(QStringLiteral("images"));
        for (const Image& image : images_) {
            xml_.writeEmptyElement(QStringLiteral("image"));
            xml_.writeAttribute(QStringLiteral("format"), image.format);
            xml_.writeAttribute(QStringLiteral("id"), image.id);
            if (image.size.isValid()) {
                xml_.writeAttribute(QStringLiteral("width"), QString::number(image.size.width()));
                xml_.writeAttribute(QStringLiteral("height"),
                                    QString::number(image.size.height()));
            }
        }
        xml_.writeEndElement();
    }
    xml_.writeEndElement();  // collection
    xml_.writeEndElement();  // tellico
    xml_.writeEndDocument();
    buffer_.close();

    int code = 0;
    ArchiveGuard guard;
    guard.archive = zip_open(file_->temporaryPath().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    const auto fail = [this](const std::string& why) {
        throw TransferError("Cannot write " + path_ + ": " + why + ".");
    };
    if (!guard.archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const std::string why = zip_error_strerror(&error);
        zip_error_fini(&error);
        fail(why);
    }
    const auto addSource = [&](const std::string& name, zip_source_t* source, bool compress) {
        if (!source) fail(zip_strerror(guard.archive));
        const zip_int64_t index = zip_file_add(guard.archive, name.c_str(), source,
                                               ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
        if (index < 0) {
            zip_source_free(source);
            fail(zip_strerror(guard.archive));
        }
        if (!compress)
            zip_set_file_compression(guard.archive, zip_uint64_t(index), ZIP_CM_STORE, 0);
    };
    const auto buffer = [&](const QByteArray& bytes) {
        return zip_source_buffer(guard.archive, bytes.constData(), zip_uint64_t(bytes.size()), 0);
    };
    addSource("tellico.xml", buffer(xmlBytes_), true);
    // Pictures are stored as they are: compressing JPEG or PNG gains nothing.
    for (const Image& image : images_) {
        const std::string name = "images/" + image.id.toStdString();
        if (image.path.isEmpty())
            addSource(name, buffer(image.bytes), false);
        else
            addSource(
                name,
                zip_source_file(guard.archive, QFile::encodeName(image.path).constData(), 0, -1),
                false);
    }
    if (zip_close(guard.archive) != 0) fail(zip_strerror(guard.archive));
    guard.archive = nullptr;
    try {
        file_->commit();
    } catch (const std::runtime_error& e) {
        throw TransferError(e.what());
    }
}

}  // namespace interchange::tellico
