#include "interchange/tellico_xml_feed.h"

#include <algorithm>
#include <cstring>

namespace interchange::tellico {

XmlFeed::XmlFeed(std::unique_ptr<XmlBytes> bytes) : bytes_(std::move(bytes)) {
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

std::string_view XmlFeed::from(std::uint64_t at) const {
    const std::uint64_t end = base_ + buffer_.size();
    if (at >= end) return {};
    return std::string_view(buffer_).substr(std::size_t(at - base_));
}

bool XmlFeed::more() {
    // Drop what neither reader needs any more, once it is most of the buffer.
    const std::uint64_t keep = std::min(streaming_ ? fedTo_ : keep_, base_ + buffer_.size());
    const std::size_t drop = keep > base_ ? std::size_t(keep - base_) : 0;
    if (drop > 0 && drop * 2 >= buffer_.size()) {
        buffer_.erase(0, drop);
        base_ += drop;
    }
    return bytes_->readMore(buffer_);
}

void XmlFeed::feed(std::uint64_t at, std::uint64_t limit, std::string blanks, qint64 sinceMarkup) {
    blanks_ = std::move(blanks);
    blanksAt_ = 0;
    fedTo_ = at;
    limit_ = limit;
    sinceMarkup_ = sinceMarkup;
}

void XmlFeed::stream(std::uint64_t at, std::string blanks, qint64 sinceMarkup) {
    feed(at, at, std::move(blanks), sinceMarkup);
    streaming_ = true;
}

qint64 XmlFeed::readData(char* data, qint64 max) {
    if (tooLong_ || failed_) return -1;
    if (blanksAt_ < blanks_.size()) {
        const std::size_t n = std::min(std::size_t(max), blanks_.size() - blanksAt_);
        std::memcpy(data, blanks_.data() + blanksAt_, n);
        blanksAt_ += n;
        return qint64(n);
    }
    // The reader wants more than the entry it was given: it reads on alone.
    if (fedTo_ >= limit_) streaming_ = true;
    try {
        while (fedTo_ >= base_ + buffer_.size())
            if (!more()) return 0;
    } catch (const XmlBytesFailure&) {
        failed_ = true;
        return -1;
    }
    std::uint64_t available = base_ + buffer_.size() - fedTo_;
    if (!streaming_) available = std::min(available, limit_ - fedTo_);
    const std::size_t n = std::size_t(std::min<std::uint64_t>(available, std::uint64_t(max)));
    const char* bytes = buffer_.data() + (fedTo_ - base_);
    for (std::size_t i = 0; i < n; ++i) {
        if (bytes[i] == '<') {
            sinceMarkup_ = 0;
        } else if (++sinceMarkup_ > kMaxTextBytes) {
            tooLong_ = true;
            return -1;
        }
    }
    std::memcpy(data, bytes, n);
    fedTo_ += n;
    return qint64(n);
}

}  // namespace interchange::tellico
