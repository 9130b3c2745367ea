#include "statistics/totals_runner.h"

#include <QMetaObject>

#include "engine/error.h"
#include "statistics/collection_scan.h"

namespace statistics {

TotalsRunner::TotalsRunner(QObject* parent) : QObject(parent) {
    qRegisterMetaType<statistics::Summary>("statistics::Summary");
}

TotalsRunner::~TotalsRunner() { stop(); }

void TotalsRunner::request(Request request) {
    emit started();
    if (running()) {
        // The pass under way is out of date: it stops at its next record, and passEnded()
        // starts this one.
        cancel_->store(true);
        pending_ = std::move(request);
        return;
    }
    startPass(std::move(request));
}

void TotalsRunner::startPass(Request request) {
    const std::uint64_t generation = ++passes_;
    workerPass_ = generation;
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    worker_ = std::thread([this, generation, cancel = cancel_, request = std::move(request)] {
        std::optional<Summary> summary;
        QString error;
        try {
            summary = scanCollection(request.path.toStdString(),
                                     request.filter ? &*request.filter : nullptr, {},
                                     cancel.get())
                          .summary();
        } catch (const ScanCancelled&) {
        } catch (const engine::EngineError& e) {
            error = QString::fromUtf8(e.what());
        } catch (const std::exception& e) {
            error = QString::fromUtf8(e.what());
        }
        // The object outlives the thread (stop() joins it), so posting to it is safe; the
        // call runs on the interface thread.
        QMetaObject::invokeMethod(
            this, [this, generation, summary, error] { passEnded(generation, summary, error); },
            Qt::QueuedConnection);
    });
}

void TotalsRunner::passEnded(std::uint64_t generation, std::optional<Summary> summary,
                             QString error) {
    // A pass stop() waited for has been dealt with; its message is dropped.
    if (generation != workerPass_) return;
    worker_.join();
    workerPass_ = 0;
    if (pending_) {  // superseded: its figures are out of date
        Request next = std::move(*pending_);
        pending_.reset();
        startPass(std::move(next));
        return;
    }
    if (summary)
        emit computed(*summary);
    else if (!error.isEmpty())
        emit failed(error);
}

void TotalsRunner::stop() {
    pending_.reset();
    if (!worker_.joinable()) return;
    cancel_->store(true);
    worker_.join();
    workerPass_ = 0;  // whatever the stopped pass posted is dropped
}

}  // namespace statistics
