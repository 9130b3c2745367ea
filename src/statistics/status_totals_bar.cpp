#include "statistics/status_totals_bar.h"

namespace statistics {

namespace {
// Long enough for the first screen to be painted before the pass competes for the processor,
// and for a burst of changes to make one pass.
constexpr int kDelayMs = 60;
}  // namespace

StatusTotalsBar::StatusTotalsBar(RequestSource requests, StyleSource style, QWidget* parent)
    : QLabel(parent), requests_(std::move(requests)), style_(std::move(style)) {
    setObjectName(QStringLiteral("StatusTotalsLabel"));
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    delay_.setSingleShot(true);
    delay_.setInterval(kDelayMs);
    connect(&delay_, &QTimer::timeout, this, [this] { startPass(); });
    connect(&runner_, &TotalsRunner::computed, this, [this](const Summary& summary) {
        last_ = summary;
        setText(statusText(summary.total, style_()));
    });
    connect(&runner_, &TotalsRunner::failed, this, [this](const QString& message) {
        setText(QStringLiteral("Totals not available: ") + message);
    });
}

void StatusTotalsBar::refresh() {
    setText(kComputingText);
    if (holds_ > 0) {
        waiting_ = true;
        return;
    }
    delay_.start();
}

void StatusTotalsBar::startPass() {
    if (holds_ > 0) {
        waiting_ = true;
        return;
    }
    std::optional<TotalsRunner::Request> request = requests_();
    if (!request) {
        setText(QString());
        return;
    }
    runner_.request(std::move(*request));
}

void StatusTotalsBar::hold() {
    if (holds_++ > 0) return;
    if (delay_.isActive()) {
        delay_.stop();
        waiting_ = true;
    }
    if (runner_.running()) {
        runner_.stop();
        waiting_ = true;
    }
}

void StatusTotalsBar::release() {
    if (holds_ == 0 || --holds_ > 0) return;
    if (waiting_) {
        waiting_ = false;
        refresh();
    }
}

}  // namespace statistics
