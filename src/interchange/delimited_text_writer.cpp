#include "interchange/delimited_text_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "engine/codepage.h"
#include "engine/field_codec.h"
#include "interchange/transfer_error.h"

namespace interchange {

namespace {

constexpr std::size_t kFlushAt = 1 << 20;

std::string_view trimBlanks(std::string_view s) {
    s = engine::withoutTrailingBlanks(s);  // stored text is mostly padding
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    return s;
}

}  // namespace

DelimitedTextWriter::DelimitedTextWriter(const std::string& path, engine::CodePage codePage)
    : path_(path), codePage_(codePage) {
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0) throwSystemError("Cannot create", path);
    buffer_.reserve(kFlushAt + 4096);
}

DelimitedTextWriter::~DelimitedTextWriter() {
    if (fd_ >= 0) ::close(fd_);
}

void DelimitedTextWriter::addBytes(std::string_view value) {
    if (lineStarted_) buffer_.push_back(',');
    lineStarted_ = true;
    buffer_.push_back('"');
    value = trimBlanks(value);
    while (!value.empty()) {
        const void* quote = std::memchr(value.data(), '"', value.size());
        if (!quote) break;
        const std::size_t upTo = std::size_t(static_cast<const char*>(quote) - value.data()) + 1;
        buffer_.append(value.data(), upTo);
        buffer_.push_back('"');
        value.remove_prefix(upTo);
    }
    buffer_.append(value);
    buffer_.push_back('"');
}

void DelimitedTextWriter::addUtf8(std::string_view utf8) {
    bool ascii = true;
    for (unsigned char c : utf8)
        if (c >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) return addBytes(utf8);
    converted_ = engine::fromUtf8(utf8, codePage_);
    addBytes(converted_);
}

void DelimitedTextWriter::endLine() {
    buffer_.append("\r\n");
    lineStarted_ = false;
    if (buffer_.size() >= kFlushAt) flush();
}

void DelimitedTextWriter::flush() {
    std::size_t done = 0;
    while (done < buffer_.size()) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            throwSystemError("Cannot write", path_);
        }
        done += std::size_t(n);
    }
    buffer_.clear();
}

void DelimitedTextWriter::finish() {
    if (fd_ < 0) return;
    flush();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) throwSystemError("Cannot write", path_);
}

}  // namespace interchange
