#include "reports/report_pages.h"

#include "engine/table.h"

namespace reports {

namespace {

// Takes each page laid out again, learns its fonts and passes both on.
class FontLearningSink : public PageSink {
  public:
    FontLearningSink(std::vector<PageFont>& fonts, PageSink& out) : fonts_(fonts), out_(out) {}
    void pageDone(Page&& page, int number, const std::vector<PageFont>& fonts) override {
        // The engine was seeded with the fonts known so far and only appends to them.
        fonts_ = fonts;
        out_.pageDone(std::move(page), number, fonts_);
    }

  private:
    std::vector<PageFont>& fonts_;
    PageSink& out_;
};

// Keeps the one page laid out.
class OnePageSink : public PageSink {
  public:
    void pageDone(Page&& page, int, const std::vector<PageFont>&) override {
        page_ = std::move(page);
    }
    Page page_;
};

}  // namespace

void RecordedReport::begin(const ReportDefinition& report, engine::Table& table,
                           RenderSettings settings, PageSetup portrait, PageSetup oriented) {
    report_ = report;
    table_ = &table;
    settings_ = std::move(settings);
    portrait_ = portrait;
    setup_ = oriented;
    checkpoints_.clear();
    fonts_.clear();
    kept_ = false;
    pages_.clear();
}

void RecordedReport::beginKept(PageSetup oriented) {
    setup_ = oriented;
    checkpoints_.clear();
    fonts_.clear();
    kept_ = true;
    pages_.clear();
    table_ = nullptr;
}

void RecordedReport::addCheckpoint(const ReportRenderer::RunState& state) {
    pending_ = state;
}

void RecordedReport::pageDone(Page&& page, int, const std::vector<PageFont>& fonts) {
    if (!kept_) {
        checkpoints_.push_back(pending_);
        return;
    }
    pages_.push_back(std::move(page));
    fonts_ = fonts;
}

void RecordedReport::layOut(int first, int last, PageSink& sink,
                            const std::function<bool()>& next) const {
    first = std::max(first, 0);
    last = std::min(last, pageCount() - 1);
    if (kept_) {
        for (int index = first; index <= last; ++index) {
            sink.pageDone(Page(pages_[index]), index + 1, fonts_);
            if (next && index < last && !next()) break;
        }
        return;
    }
    if (first > last || !table_ || !table_->isOpen()) return;
    FontLearningSink learning(fonts_, sink);
    PageEngine engine(portrait_, learning);
    engine.setOrientation(setup_.landscape);
    engine.seedFonts(fonts_);
    ReportRenderer renderer(report_, *table_, engine, settings_);
    renderer.beforePrint();
    renderer.restore(checkpoints_[first]);
    for (int index = first; index <= last; ++index) {
        engine.layOutPage(renderer, index + 1);
        if (next && index < last && !next()) break;
    }
}

Page RecordedReport::page(int index) const {
    OnePageSink one;
    layOut(index, index, one);
    return std::move(one.page_);
}

}  // namespace reports
