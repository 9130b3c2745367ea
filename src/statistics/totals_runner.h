// The collection's totals computed off the interface thread, for the main window's status bar.
//
// request() starts a pass over the table at the given path (collection_scan.h) on a thread of
// its own and emits started() at once; when the pass ends, computed() (or failed(), with the
// engine's message) arrives on the interface thread. A request while a pass runs cancels that
// pass and starts again once it has stopped; only the last request's figures are ever emitted.
//
// stop() cancels a running pass and waits for it (a few milliseconds: the pass checks at every
// record), so that the table is no longer open when a command needs it to itself; a stopped
// request is not resumed (the command refreshes the totals when it is done). The destructor
// stops too.
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>

#include "collection/search_filter.h"
#include "statistics/collection_statistics.h"

namespace statistics {

class TotalsRunner : public QObject {
    Q_OBJECT
  public:
    struct Request {
        QString path;                                   // the .DBF
        std::optional<collection::SearchFilter> filter; // the search in force, if any
    };

    explicit TotalsRunner(QObject* parent = nullptr);
    ~TotalsRunner() override;

    void request(Request request);
    void stop();
    bool running() const { return worker_.joinable(); }

  signals:
    void started();
    void computed(const statistics::Summary& summary);
    void failed(const QString& message);

  private:
    void startPass(Request request);
    void passEnded(std::uint64_t generation, std::optional<Summary> summary, QString error);

    std::thread worker_;
    std::shared_ptr<std::atomic<bool>> cancel_;
    std::optional<Request> pending_;
    std::uint64_t passes_ = 0;      // passes started
    std::uint64_t workerPass_ = 0;  // the pass the worker thread runs; 0 when none
};

}  // namespace statistics
