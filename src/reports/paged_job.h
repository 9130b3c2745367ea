// What every run that lays out pages (a report, album pages) shares, and what the status
// window needs of it: to hear of each page as it starts, to cancel the run, and why it failed.
#pragma once

#include <QString>
#include <functional>

#include "reports/page_engine.h"
#include "reports/page_model.h"

namespace reports {

enum class RunResult { Completed, Canceled, Failed };

// `page` turned to `landscape` (or back to portrait) whatever orientation it is in.
PageSetup orientedAs(PageSetup page, bool landscape);

class PagedJob {
  public:
    virtual ~PagedJob() = default;

    // `callback` is called before each page is laid out (0: between records of a long page).
    void setPageStarted(std::function<void(int)> callback) { pageStarted_ = std::move(callback); }
    // Ends the run after the current page.
    void cancel() {
        canceled_ = true;
        if (engine_) engine_->abort();
    }
    bool canceled() const { return canceled_; }
    // Why the last run failed ("" when it did not).
    const QString& error() const { return error_; }

  protected:
    std::function<void(int)> pageStarted_;
    PageEngine* engine_ = nullptr;  // while running
    bool canceled_ = false;
    QString error_;
};

}  // namespace reports
