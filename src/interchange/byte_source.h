// A text file read byte by byte through a buffer, and the choice of its encoding.
//
// ByteSource reads with read(2) in blocks, never mapping the file, so a source that vanishes or
// fails under the reader (a removed medium, an I/O error) becomes a TransferError instead of a
// crash. A byte-order mark at the start of a UTF-8 file is skipped. Only regular files are read:
// a FIFO, a device or a folder is refused with a TransferError naming it, without waiting for a
// writer (opening a FIFO for reading would otherwise block until one comes).
//
// Encoding: a file is UTF-8 when it starts with the byte-order mark or is valid UTF-8 throughout;
// anything else is Windows-1252. Deciding needs one pass over the file before reading it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace interchange {

enum class TextEncoding { Utf8, Cp1252 };

// True when `bytes` is valid UTF-8 (shortest forms, no surrogates, at most U+10FFFF). With
// `incompleteTail`, a sequence cut off at the very end (the text goes on in the next block) counts
// as valid and its length is stored there.
bool isValidUtf8(const char* bytes, std::size_t n, std::size_t* incompleteTail = nullptr);

// Opens `path` for reading; throws TransferError when it cannot be opened or is not a regular
// file ("<path> is not a regular file: ...").
int openRegularFile(const std::string& path);
// Throws as openRegularFile does when `path` is not a regular file that can be opened.
void requireRegularFile(const std::string& path);

// The encoding of the file at `path`, as described above. Throws TransferError when the file
// cannot be read.
TextEncoding detectTextEncoding(const std::string& path);

class ByteSource {
  public:
    // Opens `path`; throws TransferError when it cannot be opened.
    explicit ByteSource(const std::string& path);
    ~ByteSource();
    ByteSource(const ByteSource&) = delete;
    ByteSource& operator=(const ByteSource&) = delete;

    // The next byte (0..255) without taking it, or -1 at the end of the file.
    int peek() {
        if (pos_ == end_ && !refill()) return -1;
        return static_cast<unsigned char>(buffer_[pos_]);
    }
    // The next byte taken, or -1 at the end of the file.
    int get() {
        const int c = peek();
        if (c >= 0) ++pos_;
        return c;
    }
    // The bytes buffered from the current position on (at least one unless at the end), for
    // readers that scan runs of ordinary bytes at once; `skip` takes `n` of them.
    std::pair<const char*, std::size_t> window() {
        if (pos_ == end_ && !refill()) return {nullptr, 0};
        return {buffer_.data() + pos_, end_ - pos_};
    }
    void skip(std::size_t n) { pos_ += n; }
    // The offset in the file of the next byte, and a return to such an offset (a reader going
    // back to the start of a record it could not read).
    std::uint64_t offset() const { return base_ + pos_; }
    void seek(std::uint64_t offset);
    // Skips a UTF-8 byte-order mark when the file starts with one.
    void skipByteOrderMark();

  private:
    bool refill();

    int fd_ = -1;
    std::string path_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    std::uint64_t base_ = 0;  // file offset of buffer_[0]
    bool atFileEnd_ = false;
};

}  // namespace interchange
