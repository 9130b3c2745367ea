// ReadAhead: the items of a source read on a thread of their own, a few batches ahead of the
// thread that uses them, so that reading (parsing a file) and storing (posting records) share
// the machine's cores instead of taking turns.
//
// `read(Item&)` runs on the reading thread only: it fills the item and returns true, or returns
// false when the source has no more. next() hands the items over in their order on the caller's
// thread and returns nullptr after the last one. When `read` throws, every item read before is
// handed over first; the next() after them throws the same exception (and keeps throwing it).
// An item handed out stays valid until the following next(); items are reused, so strings in
// them keep their storage from batch to batch.
//
// Destroying the ReadAhead stops the reading thread after the item it is reading and waits for
// it: whatever `read` uses must outlive the ReadAhead.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace interchange {

template <typename Item>
class ReadAhead {
  public:
    using Read = std::function<bool(Item&)>;

    explicit ReadAhead(Read read, std::size_t batchItems = 256, std::size_t batches = 4)
        : read_(std::move(read)) {
        for (std::size_t i = 0; i < batches; ++i) {
            batches_.push_back(std::make_unique<Batch>());
            batches_.back()->items.resize(batchItems);
            free_.push_back(batches_.back().get());
        }
        thread_ = std::thread([this] { readBatches(); });
    }

    ~ReadAhead() {
        stop_.store(true);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopAsked_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }

    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    Item* next() {
        for (;;) {
            if (current_ && at_ < current_->filled) return &current_->items[at_++];
            if (current_ && current_->error) std::rethrow_exception(current_->error);
            if (current_ && current_->last) return nullptr;
            std::unique_lock<std::mutex> lock(mutex_);
            if (current_) free_.push_back(current_);
            current_ = nullptr;
            changed_.notify_all();
            changed_.wait(lock, [this] { return !full_.empty(); });
            current_ = full_.front();
            full_.pop_front();
            at_ = 0;
        }
    }

  private:
    struct Batch {
        std::vector<Item> items;
        std::size_t filled = 0;
        bool last = false;
        std::exception_ptr error;
    };

    void readBatches() {
        for (;;) {
            Batch* batch = nullptr;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                changed_.wait(lock, [this] { return stopAsked_ || !free_.empty(); });
                if (stopAsked_) return;
                batch = free_.front();
                free_.pop_front();
            }
            batch->filled = 0;
            try {
                while (batch->filled < batch->items.size() && !stop_.load(std::memory_order_relaxed)) {
                    if (!read_(batch->items[batch->filled])) {
                        batch->last = true;
                        break;
                    }
                    ++batch->filled;
                }
            } catch (...) {
                batch->error = std::current_exception();
                batch->last = true;
            }
            {
                std::lock_guard<std::mutex> lock(mutex_);
                full_.push_back(batch);
            }
            changed_.notify_all();
            if (batch->last) return;
        }
    }

    Read read_;
    std::vector<std::unique_ptr<Batch>> batches_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Batch*> free_;
    std::deque<Batch*> full_;
    bool stopAsked_ = false;        // under mutex_
    std::atomic<bool> stop_{false};  // read without the lock between items
    Batch* current_ = nullptr;       // the caller's batch
    std::size_t at_ = 0;
    std::thread thread_;
};

}  // namespace interchange
