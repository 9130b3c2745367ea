// The bytes of a Tellico file's XML as two readers share them: the entry scanner, which looks at
// them where they lie, and QXmlStreamReader, which reads them through this device.
//
// The scanner reads entries the XML reader never sees; to keep the reader's line and column
// numbers those of the file, it is given blanks in their place (a line end for each line end, a
// blank for each column of the last line) before the next bytes it reads. It is given the file's
// bytes up to a limit (the end of an entry it must read); asking for more makes it the only
// reader from there on ("streaming"), which is how every byte after the entries is read too.
//
// The device refuses to go on once a text runs longer than kMaxTextBytes without any markup, and
// fails when the bytes cannot be read.
#pragma once

#include <QIODevice>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "interchange/tellico_xml_bytes.h"

namespace interchange::tellico {

inline constexpr qint64 kMaxTextBytes = qint64(64) << 20;

class XmlFeed : public QIODevice {
  public:
    explicit XmlFeed(std::unique_ptr<XmlBytes> bytes);

    // The bytes read so far from position `at` of the file on (`at` not released).
    std::string_view from(std::uint64_t at) const;
    // Reads another piece; false at the end. Throws XmlBytesFailure.
    bool more();
    // Bytes before `at` are no longer looked at by the scanner.
    void release(std::uint64_t at) { keep_ = at; }

    // The XML reader goes on with `blanks`, then the file's bytes from `at` up to `limit`;
    // `sinceMarkup` is the number of bytes after the last '<' before `at`.
    void feed(std::uint64_t at, std::uint64_t limit, std::string blanks, qint64 sinceMarkup);
    // The same, to the end of the file.
    void stream(std::uint64_t at, std::string blanks, qint64 sinceMarkup);
    // The limit moves on to `limit` (the reader stands before it).
    void extend(std::uint64_t limit) { limit_ = limit; }
    // The reader reads on alone from where it stands.
    void goOn() { streaming_ = true; }
    bool streaming() const { return streaming_; }
    std::uint64_t fedTo() const { return fedTo_; }

    bool isSequential() const override { return true; }
    bool tooLong() const { return tooLong_; }
    bool failed() const { return failed_; }

  protected:
    qint64 readData(char* data, qint64 max) override;
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    std::unique_ptr<XmlBytes> bytes_;
    std::string buffer_;
    std::uint64_t base_ = 0;  // the file position of buffer_[0]
    std::uint64_t keep_ = 0;
    std::string blanks_;
    std::size_t blanksAt_ = 0;
    std::uint64_t fedTo_ = 0, limit_ = 0;
    bool streaming_ = false;
    qint64 sinceMarkup_ = 0;
    bool tooLong_ = false;
    bool failed_ = false;
};

}  // namespace interchange::tellico
