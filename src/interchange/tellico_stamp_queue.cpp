#include "interchange/tellico_stamp_queue.h"

#include "interchange/transfer_error.h"

namespace interchange::tellico {

namespace {

constexpr std::size_t kBatch = 256;   // stamps handed over at once
constexpr std::size_t kBatches = 8;   // read ahead at most

}  // namespace

StampQueue::StampQueue(TellicoReader& reader, const EntryMapping& mapping)
    : reader_(reader), mapping_(mapping), thread_([this] { read(); }) {}

StampQueue::~StampQueue() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void StampQueue::read() {
    Entry entry;
    std::string failure;
    bool more = true;
    while (more) {
        Batch batch;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [this] { return stop_ || full_.size() < kBatches; });
            if (stop_) return;
            if (!free_.empty()) {
                batch = std::move(free_.back());
                free_.pop_back();
            }
        }
        batch.resize(kBatch);
        std::size_t n = 0;
        try {
            while (n < kBatch && (more = reader_.nextEntry(entry)))
                stampValues(entry, mapping_, batch[n++]);
        } catch (const std::exception& e) {
            failure = e.what();
            more = false;
        }
        batch.resize(n);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (n > 0) full_.push_back(std::move(batch));
            if (!more) {
                ended_ = true;
                failure_ = failure;
            }
        }
        changed_.notify_all();
    }
}

bool StampQueue::next(StampValues& out) {
    if (taken_ == current_.size()) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!current_.empty()) free_.push_back(std::move(current_));
        changed_.notify_all();
        changed_.wait(lock, [this] { return !full_.empty() || ended_; });
        if (full_.empty()) {
            current_.clear();
            taken_ = 0;
            if (!failure_.empty()) throw TransferError(failure_);
            return false;
        }
        current_ = std::move(full_.front());
        full_.pop_front();
        taken_ = 0;
    }
    StampValues& v = current_[taken_++];
    std::swap(out.fields, v.fields);
    std::swap(out.images, v.images);
    out.year = v.year, out.month = v.month, out.day = v.day;
    return true;
}

}  // namespace interchange::tellico
