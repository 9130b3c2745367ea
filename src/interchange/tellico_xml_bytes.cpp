#include "interchange/tellico_xml_bytes.h"

#include <unistd.h>
#include <zip.h>

#include <cerrno>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

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

class ArchiveBytes : public XmlBytes {
  public:
    explicit ArchiveBytes(const std::string& path) : thread_([this, path] { inflate(path); }) {}

    ~ArchiveBytes() override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }

    bool readMore(std::string& buffer) override {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return !full_.empty() || ended_; });
        if (full_.empty()) {
            if (failed_) throw XmlBytesFailure("damaged archive member");
            return false;
        }
        std::vector<char> piece = std::move(full_.front());
        full_.pop_front();
        lock.unlock();
        buffer.append(piece.data(), piece.size());
        lock.lock();
        free_.push_back(std::move(piece));
        lock.unlock();
        changed_.notify_all();
        return true;
    }

  private:
    void inflate(const std::string& path) {
        bool failed = true;
        int code = 0;
        zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
        zip_file_t* member = archive ? zip_fopen(archive, "tellico.xml", 0) : nullptr;
        while (member) {
            std::vector<char> piece;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                changed_.wait(lock, [this] { return stop_ || full_.size() < kQueued; });
                if (stop_) break;
                if (!free_.empty()) {
                    piece = std::move(free_.back());
                    free_.pop_back();
                }
            }
            piece.resize(kPiece);
            // In small reads, so that damage loses only the bytes just before it.
            std::size_t got = 0;
            zip_int64_t n = 0;
            while (got < kPiece && (n = zip_fread(member, piece.data() + got, kStep)) > 0)
                got += std::size_t(n);
            piece.resize(got);
            std::lock_guard<std::mutex> lock(mutex_);
            if (got > 0) full_.push_back(std::move(piece));
            if (n <= 0) {
                failed = n < 0;
                break;
            }
            changed_.notify_all();
        }
        if (member) zip_fclose(member);
        if (archive) zip_discard(archive);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ended_ = true;
            failed_ = failed;
        }
        changed_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<char>> full_;
    std::vector<std::vector<char>> free_;
    bool stop_ = false, ended_ = false, failed_ = false;
    std::thread thread_;  // last: starts once the rest is ready
};

}  // namespace

std::unique_ptr<XmlBytes> fileXmlBytes(int fd) {
    return std::make_unique<FileBytes>(fd);
}

std::unique_ptr<XmlBytes> archiveXmlBytes(const std::string& path) {
    return std::make_unique<ArchiveBytes>(path);
}

}  // namespace interchange::tellico
