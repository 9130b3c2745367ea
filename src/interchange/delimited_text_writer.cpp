#include "interchange/delimited_text_writer.h"

#include <cstring>

#include "collection/replacing_file.h"
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
    : codePage_(codePage) {
    try {
        file_ = std::make_unique<collection::ReplacingFile>(path);
    } catch (const std::runtime_error& e) {
        throw TransferError(e.what());
    }
    buffer_.reserve(kFlushAt + 4096);
}

DelimitedTextWriter::~DelimitedTextWriter() = default;

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
    try {
        file_->write(buffer_.data(), buffer_.size());
    } catch (const std::runtime_error& e) {
        throw TransferError(e.what());
    }
    buffer_.clear();
}

void DelimitedTextWriter::finish() {
    if (!file_) return;
    flush();
    try {
        file_->commit();
    } catch (const std::runtime_error& e) {
        throw TransferError(e.what());
    }
    file_.reset();
}

}  // namespace interchange
