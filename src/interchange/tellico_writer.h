// TellicoWriter: a Tellico ".tc" data file: a zip archive holding "tellico.xml" (a collection of
// the given type with its field definitions and entries, in Tellico's XML format, syntax version
// 11) and the pictures under "images/".
//
// Entries are numbered from 1 in the order they are added; a field whose definition allows
// several values is written as Tellico writes it (<years><year>1840</year></years>); empty values
// are left out. Pictures are stored uncompressed under their id (the MD5 of their bytes and their
// extension, as Tellico names them) and listed in <images>.
//
// The archive is written under a temporary name and put in place by finish() (collection::
// ReplacingFile): a run that fails leaves an existing file as it was. Failures throw
// TransferError.
#pragma once

#include <QByteArray>
#include <QBuffer>
#include <QSize>
#include <QString>
#include <QXmlStreamWriter>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "interchange/tellico_fields.h"

namespace collection {
class ReplacingFile;
}

namespace interchange::tellico {

class TellicoWriter {
  public:
    TellicoWriter(const std::string& path, const QString& title, int type,
                  const std::vector<FieldDef>& fields);
    ~TellicoWriter();
    TellicoWriter(const TellicoWriter&) = delete;
    TellicoWriter& operator=(const TellicoWriter&) = delete;

    void addEntry(const Entry& entry);
    // Stores a picture and returns its id ("<md5>.<extension>"); the same bytes twice are stored
    // once.
    QString addImage(const QByteArray& bytes, const QString& extension, QSize size);
    // The same for the picture file at `path`, which is read for its id now and copied into the
    // archive by finish() (so a collection's pictures are never all held in memory). Throws
    // TransferError when it cannot be read.
    QString addImageFile(const QString& path, const QString& extension, QSize size);
    void finish();

  private:
    struct Image {
        QString id;
        QString format;
        QSize size;
        QByteArray bytes;
        QString path;  // when not empty, the file holding the bytes
    };

    std::string path_;
    std::unique_ptr<collection::ReplacingFile> file_;
    QByteArray xmlBytes_;
    QBuffer buffer_;
    QXmlStreamWriter xml_;
    std::set<QString> multiple_;  // fields allowing several values
    std::vector<Image> images_;
    std::set<QString> imageIds_;
    int nextId_ = 1;
};

}  // namespace interchange::tellico
