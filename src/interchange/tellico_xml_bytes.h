// The bytes of a Tellico file's XML, in large pieces: read from a plain file, or inflated from
// the archive member "tellico.xml" on a thread of its own (so inflating runs beside the reading
// of entries), handed over through a short queue of 1 MB pieces.
//
// The inflating thread has its own handle on the archive (libzip handles are not to be shared
// between threads); the archive is opened again by path. A failure there (a damaged or cut-off
// member, a wrong checksum) is reported by readMore() after the bytes inflated before it.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

namespace interchange::tellico {

// The bytes cannot be read (a damaged archive, a read error).
struct XmlBytesFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class XmlBytes {
  public:
    virtual ~XmlBytes() = default;
    // Appends the next piece to `buffer`; false at the end. Throws XmlBytesFailure.
    virtual bool readMore(std::string& buffer) = 0;
};

// The file open as `fd` (not closed here).
std::unique_ptr<XmlBytes> fileXmlBytes(int fd);
// "tellico.xml" of the archive at `path`, inflated on a thread that starts at once.
std::unique_ptr<XmlBytes> archiveXmlBytes(const std::string& path);

}  // namespace interchange::tellico
