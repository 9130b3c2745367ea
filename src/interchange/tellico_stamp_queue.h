// The stamps of a Tellico file's entries, read and turned into stamp values on a thread of their
// own, so that reading the file runs beside the posting of records; handed out in file order.
//
// The thread uses the reader (all but its pictures) and the mapping until it ends: the reader's
// image() stays for the caller's thread, its embeddedImage() once next() has returned false. A
// failure of the reading (a damaged file) is thrown by next() as TransferError with the
// reader's message, after every stamp read before it. Destroying the queue stops the thread.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "interchange/tellico_mapping.h"
#include "interchange/tellico_reader.h"

namespace interchange::tellico {

class StampQueue {
  public:
    StampQueue(TellicoReader& reader, const EntryMapping& mapping);
    ~StampQueue();
    StampQueue(const StampQueue&) = delete;
    StampQueue& operator=(const StampQueue&) = delete;

    // The next stamp's values, swapped into `out`; false after the last one.
    bool next(StampValues& out);

  private:
    using Batch = std::vector<StampValues>;
    void read();

    TellicoReader& reader_;
    const EntryMapping& mapping_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Batch> full_;
    std::vector<Batch> free_;
    bool stop_ = false, ended_ = false;
    std::string failure_;  // the message that ended the reading, if any
    Batch current_;        // being handed out
    std::size_t taken_ = 0;
    std::thread thread_;  // last: starts once the rest is ready
};

}  // namespace interchange::tellico
