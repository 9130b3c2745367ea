#include "interchange/tellico_xml_bytes.h"

#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>
#include <unistd.h>
#include <zip.h>

#include <cerrno>
#include <functional>
#include <vector>

#include "interchange/read_ahead.h"

namespace interchange::tellico {

namespace {

constexpr std::size_t kPiece = std::size_t(1) << 20;
constexpr std::size_t kQueued = 4;  // pieces inflated ahead at most
constexpr zip_uint64_t kStep = 8192;

class FileBytes : public XmlBytes {
  public:
    explicit FileBytes(int fd) : fd_(fd) {}
    bool readMore(std::string& buffer) override {
        const std::size_t at = buffer.size();
        buffer.resize(at + kPiece);
        for (;;) {
            const ssize_t n = ::read(fd_, buffer.data() + at, kPiece);
            if (n < 0 && errno == EINTR) continue;
            buffer.resize(at + std::size_t(n < 0 ? 0 : n));
            if (n < 0) throw XmlBytesFailure("read error");
            return n > 0;
        }
    }

  private:
    int fd_;
};

// The deflated bytes of an archive member inflated by igzip, their CRC32 and length checked at
// the end: a piece at a time, -1 once they prove damaged.
class Igzip {
  public:
    Igzip(zip_file_t* member, std::uint32_t crc, zip_uint64_t size)
        : member_(member),
          expected_(crc),
          size_(size),
          in_(std::make_shared<std::vector<unsigned char>>(1 << 16)),
          state_(std::make_shared<inflate_state>()) {
        isal_inflate_init(state_.get());
        state_->crc_flag = ISAL_DEFLATE;
    }

    zip_int64_t operator()(std::vector<char>& piece) {
        inflate_state& s = *state_;
        if (damaged_) return -1;
        std::size_t got = 0;
        while (got < piece.size() && !finished_) {
            if (s.avail_in == 0 && !atEnd_) {
                const zip_int64_t n = zip_fread(member_, in_->data(), in_->size());
                if (n < 0) return damage(got);
                atEnd_ = n == 0;
                s.next_in = in_->data();
                s.avail_in = std::uint32_t(n);
            }
            s.next_out = reinterpret_cast<std::uint8_t*>(piece.data() + got);
            s.avail_out = std::uint32_t(piece.size() - got);
            const int result = isal_inflate(&s);
            const std::size_t made = piece.size() - got - s.avail_out;
            crc_ =
                crc32_gzip_refl(crc_, reinterpret_cast<unsigned char*>(piece.data() + got), made);
            got += made;
            if (result < 0) return damage(got);
            finished_ = s.block_state == ISAL_BLOCK_FINISH;
            if (!finished_ && atEnd_ && s.avail_in == 0 && made == 0)
                return damage(got);  // cut off
        }
        total_ += got;
        if (finished_ && (crc_ != expected_ || total_ != size_)) return -1;
        return zip_int64_t(got);
    }

  private:
    // The bytes inflated before damage are handed out first.
    zip_int64_t damage(std::size_t got) {
        damaged_ = true;
        return got > 0 ? zip_int64_t(got) : -1;
    }

    zip_file_t* member_;
    bool damaged_ = false;
    std::uint32_t expected_;
    std::uint32_t crc_ = 0;
    zip_uint64_t size_;
    zip_uint64_t total_ = 0;
    std::shared_ptr<std::vector<unsigned char>> in_;
    std::shared_ptr<inflate_state> state_;
    bool atEnd_ = false, finished_ = false;
};

// The member "tellico.xml" of an archive, on a handle of its own: deflated members are inflated
// by igzip, others by libzip.
class ArchiveMember {
  public:
    explicit ArchiveMember(const std::string& path) {
        int code = 0;
        archive_ = zip_open(path.c_str(), ZIP_RDONLY, &code);
        zip_stat_t st;
        zip_stat_init(&st);
        if (!archive_ || zip_stat(archive_, "tellico.xml", 0, &st) != 0) return;
        const bool deflated =
            (st.valid & ZIP_STAT_COMP_METHOD) && st.comp_method == ZIP_CM_DEFLATE &&
            (st.valid & ZIP_STAT_CRC) && (st.valid & ZIP_STAT_SIZE) &&
            (!(st.valid & ZIP_STAT_ENCRYPTION_METHOD) || st.encryption_method == ZIP_EM_NONE);
        member_ = zip_fopen(archive_, "tellico.xml", deflated ? ZIP_FL_COMPRESSED : 0);
        if (member_ && deflated) {
            read_ = Igzip{member_, st.crc, st.size};
        } else if (member_) {
            read_ = [member = member_, damaged = false](std::vector<char>& piece) mutable {
                // In small reads, so that damage loses only the bytes just before it.
                if (damaged) return zip_int64_t(-1);
                std::size_t got = 0;
                zip_int64_t n = 0;
                while (got < kPiece && (n = zip_fread(member, piece.data() + got, kStep)) > 0)
                    got += std::size_t(n);
                damaged = n < 0;
                return damaged && got == 0 ? n : zip_int64_t(got);
            };
        }
    }
    ~ArchiveMember() {
        if (member_) zip_fclose(member_);
        if (archive_) zip_discard(archive_);
    }
    ArchiveMember(const ArchiveMember&) = delete;
    ArchiveMember& operator=(const ArchiveMember&) = delete;

    // The next piece; false at the end. Throws XmlBytesFailure.
    bool read(std::vector<char>& piece) {
        if (!read_) throw XmlBytesFailure("cannot open the archive member");
        piece.resize(kPiece);
        const zip_int64_t n = read_(piece);
        if (n < 0) throw XmlBytesFailure("damaged archive member");
        piece.resize(std::size_t(n));
        return n > 0;
    }

  private:
    zip_t* archive_ = nullptr;
    zip_file_t* member_ = nullptr;
    // Fills a piece with up to kPiece bytes; their number, 0 at the end, -1 on damage.
    std::function<zip_int64_t(std::vector<char>& piece)> read_;
};

class ArchiveBytes : public XmlBytes {
  public:
    explicit ArchiveBytes(const std::string& path)
        : member_(path),
          pieces_([this](std::vector<char>& piece) { return member_.read(piece); }, 1, kQueued) {}

    bool readMore(std::string& buffer) override {
        const std::vector<char>* piece = pieces_.next();
        if (!piece) return false;
        buffer.append(piece->data(), piece->size());
        return true;
    }

  private:
    ArchiveMember member_;
    ReadAhead<std::vector<char>> pieces_;  // after member_: stops before it closes
};

}  // namespace

std::unique_ptr<XmlBytes> fileXmlBytes(int fd) {
    return std::make_unique<FileBytes>(fd);
}

std::unique_ptr<XmlBytes> archiveXmlBytes(const std::string& path) {
    return std::make_unique<ArchiveBytes>(path);
}

}  // namespace interchange::tellico
