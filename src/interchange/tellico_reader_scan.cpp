// The entries of a Tellico file read by the entry scanner where it can (tellico_reader.h).
#include <QString>
#include <string_view>

#include "interchange/tellico_reader.h"
#include "interchange/tellico_reader_source.h"
#include "interchange/transfer_error.h"

namespace interchange::tellico {

namespace {

// An entry (or the blanks before one) this long goes to the XML reader, which watches the
// length of texts.
constexpr std::size_t kMaxScanned = std::size_t(4) << 20;

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// False when the XML declaration at the start of `head` names an encoding other than UTF-8.
bool declaresUtf8(std::string_view head) {
    if (head.substr(0, 3) == "\xEF\xBB\xBF") head.remove_prefix(3);
    if (head.substr(0, 5) != "<?xml") return true;
    head = head.substr(0, head.find("?>"));
    const std::size_t at = head.find("encoding");
    if (at == std::string_view::npos) return true;
    const std::size_t open = head.find_first_of("\"'", at);
    const std::size_t close =
        open == std::string_view::npos ? open : head.find(head[open], open + 1);
    if (close == std::string_view::npos) return false;
    return QString::fromLatin1(head.substr(open + 1, close - open - 1))
               .compare(QLatin1String("utf-8"), Qt::CaseInsensitive) == 0;
}

}  // namespace

// The position of the first "<entry" in the file, with the XML reader given the bytes up to the
// end of its start tag; 0 (the reader given everything) when there is none near the start, or
// the document is not in UTF-8.
std::uint64_t TellicoReader::firstEntryStart() {
    XmlFeed& feed = *source_->feed;
    try {
        for (;;) {
            const std::string_view head = feed.from(0);
            if (head.size() >= 2 &&
                (head[0] == '\0' || head[1] == '\0' || static_cast<unsigned char>(head[0]) >= 0xFE))
                break;  // UTF-16 or UTF-32
            if (!declaresUtf8(head)) break;
            for (std::size_t at = head.find("<entry"); at != std::string_view::npos;
                 at = head.find("<entry", at + 1)) {
                if (at + 6 >= head.size()) break;
                if (!blank(head[at + 6]) && head[at + 6] != '>' && head[at + 6] != '/') continue;
                const std::size_t end = startTagEnd(head, at + 6);
                if (end == kNoTagEnd) {
                    feed.stream(0, {}, 0);
                    return 0;
                }
                if (end == std::string_view::npos) break;
                feed.feed(0, end + 1, {}, 0);
                return at;
            }
            if (head.size() > kMaxScanned || !feed.more()) break;
        }
    } catch (const XmlBytesFailure&) {
        // The XML reader meets the failure itself.
    }
    feed.stream(0, {}, 0);
    return 0;
}

bool TellicoReader::nextEntry(Entry& entry) {
    entry.clear();
    if (done_) return false;
    Source& s = *source_;
    std::uint64_t end = 0;  // of an entry the XML reader is to read
    try {
        if (s.fast) end = scanEntry(entry);
    } catch (const XmlBytesFailure&) {
        const std::string where = s.archive ? "tellico.xml in " + path_ : path_;
        throw TransferError("Cannot read " + where +
                            (s.archive ? ": the archive is damaged." : "."));
    }
    if (s.fast && end == 0) return !done_;  // scanned, or the collection's end
    const bool read = readEntry(entry);
    if (s.fast) {
        if (s.feed->streaming()) {
            s.fast = false;  // the reader needed more than the entry
        } else {
            const std::string_view read = s.feed->from(s.pos).substr(0, end - s.pos);
            s.sinceMarkup = qint64(read.size() - read.rfind('<') - 1);
            s.pos = end;
            s.feed->release(end);
        }
    }
    return read;
}

// Reads the entry at s.pos with the scanner (0), or finds where it ends for the XML reader to
// read it (its end), or hands the rest of the file to the XML reader (0, s.fast false), or
// finds the end of the collection (0, done_).
std::uint64_t TellicoReader::scanEntry(Entry& entry) {
    Source& s = *source_;
    XmlFeed& feed = *s.feed;
    const auto toReader = [&] {
        feed.stream(s.pos, s.blanks(), s.sinceMarkup);
        s.fast = false;
        return std::uint64_t(0);
    };
    if (atEntry_) {
        // The first entry: the XML reader has read its start tag and reads the rest.
        for (;;) {
            const SkimmedElement k = skimElement(feed.from(s.pos));
            if (k.result == ScanResult::kAccepted) {
                feed.extend(s.pos + k.length);
                return s.pos + k.length;
            }
            if (k.result == ScanResult::kRefused || feed.from(s.pos).size() > kMaxScanned ||
                !feed.more()) {
                feed.goOn();
                s.fast = false;
                return 0;
            }
        }
    }
    // The blanks before the entry.
    for (;;) {
        std::string_view v = feed.from(s.pos);
        std::size_t i = 0;
        for (; i < v.size() && blank(v[i]); ++i) {
            if (v[i] == '\n' || (v[i] == '\r' && i + 1 < v.size() && v[i + 1] != '\n')) {
                ++s.lines;
                s.columns = 0;
            } else if (v[i] == '\r') {
                if (i + 1 == v.size()) break;  // CR LF or a lone CR: told by the next byte
            } else {
                ++s.columns;
            }
        }
        s.pos += i;
        s.sinceMarkup += qint64(i);
        v = feed.from(s.pos);
        if (v.size() >= 16 && !blank(v[0])) break;
        if (v.size() > kMaxScanned || !feed.more()) {
            v = feed.from(s.pos);  // reading more may have moved the bytes
            if (v.empty() || blank(v[0])) return toReader();
            break;
        }
    }
    std::string_view v = feed.from(s.pos);
    if (v.substr(0, 6) == "<entry" && v.size() > 6 && (blank(v[6]) || v[6] == '>' || v[6] == '/')) {
        for (;;) {
            const ScannedEntry r = s.scanner.scan(feed.from(s.pos), entry);
            if (r.result == ScanResult::kAccepted) {
                if (r.newlines > 0) {
                    s.lines += r.newlines;
                    s.columns = r.lastLineUnits;
                } else {
                    s.columns += r.lastLineUnits;
                }
                const std::string_view scanned = feed.from(s.pos).substr(0, r.length);
                s.sinceMarkup = qint64(r.length - scanned.rfind('<') - 1);
                s.pos += r.length;
                feed.release(s.pos);
                ++scanned_;
                return 0;
            }
            if (r.result == ScanResult::kRefused) break;
            if (feed.from(s.pos).size() > kMaxScanned || !feed.more()) return toReader();
        }
        entry.clear();
        // Refused: the XML reader reads it, from here to its end.
        for (;;) {
            const SkimmedElement k = skimElement(feed.from(s.pos));
            if (k.result == ScanResult::kAccepted) {
                feed.feed(s.pos, s.pos + k.length, s.blanks(), s.sinceMarkup);
                return s.pos + k.length;
            }
            if (k.result == ScanResult::kRefused || feed.from(s.pos).size() > kMaxScanned ||
                !feed.more())
                return toReader();
        }
    }
    // The collection's end: the XML reader would stop there too.
    const std::string end = "</" + s.collectionName.toStdString();
    if (v.substr(0, end.size()) == end) {
        std::size_t i = end.size();
        while (i < v.size() && blank(v[i])) ++i;
        if (i < v.size() && v[i] == '>') {
            done_ = true;
            return 0;
        }
    }
    return toReader();
}

}  // namespace interchange::tellico
