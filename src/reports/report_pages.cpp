#include "reports/report_pages.h"

#include "engine/table.h"

namespace reports {

namespace {

// Collects the one page laid out again.
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
    pages_.clear();
    checkpoints_.clear();
    items_ = 0;
    dropping_ = false;
}

void RecordedReport::addCheckpoint(const ReportRenderer::RunState& state) {
    pending_ = state;
}

void RecordedReport::pageDone(Page&& page, int, const std::vector<PageFont>& fonts) {
    fonts_ = fonts;
    checkpoints_.push_back(pending_);
    const std::size_t items = page.texts.size() + page.lines.size();
    if (!dropping_ && items_ + items <= budget_) {
        items_ += items;
        pages_.push_back(std::move(page));
    } else {
        dropping_ = true;
    }
}

Page RecordedReport::page(int index) const {
    if (index < 0 || index >= pageCount()) return Page();
    if (index < keptPages()) return pages_[index];
    if (!table_ || !table_->isOpen()) return Page();
    OnePageSink sink;
    PageEngine engine(portrait_, sink);
    engine.setOrientation(setup_.landscape);
    engine.seedFonts(fonts_);
    ReportRenderer renderer(report_, *table_, engine, settings_);
    renderer.beforePrint();
    renderer.restore(checkpoints_[index]);
    engine.layOutPage(renderer, index + 1);
    return std::move(sink.page_);
}

}  // namespace reports
