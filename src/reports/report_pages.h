// The pages of a preview run, any of which can be painted on demand.
//
// While the run lays the pages out, the first ones are kept whole until they hold `itemBudget`
// placed items in all; of every page the renderer's state at its start is kept too (a few
// dozen bytes). A page beyond the kept ones is laid out again from its state when asked for,
// through the same renderer and engine, so a preview of a million-record report opens at once
// and stays small. Laying out again reads the table, which must still be open with the same
// records, order and filter as during the run (the Reports window keeps it so while the page
// viewer is open).
#pragma once

#include <memory>
#include <vector>

#include "reports/page_engine.h"
#include "reports/page_model.h"
#include "reports/report_definition.h"
#include "reports/report_renderer.h"

namespace engine {
class Table;
}

namespace reports {

class RecordedReport : public PageSink {
  public:
    explicit RecordedReport(std::size_t itemBudget = 1000000) : budget_(itemBudget) {}

    const PageSetup& setup() const { return setup_; }
    int pageCount() const { return static_cast<int>(checkpoints_.size()); }
    // Page `index` (0-based): a kept page, or the page laid out again.
    Page page(int index) const;
    const std::vector<PageFont>& fonts() const { return fonts_; }
    int keptPages() const { return static_cast<int>(pages_.size()); }

    // --- filled by the run (ReportJob::runToPages) -------------------------------------------
    void pageDone(Page&& page, int number, const std::vector<PageFont>& fonts) override;
    void finished(const std::vector<PageFont>& fonts) override { fonts_ = fonts; }
    void begin(const ReportDefinition& report, engine::Table& table, RenderSettings settings,
               PageSetup portrait, PageSetup oriented);
    void addCheckpoint(const ReportRenderer::RunState& state);

  private:
    std::size_t budget_;
    std::size_t items_ = 0;
    bool dropping_ = false;
    std::vector<Page> pages_;
    std::vector<ReportRenderer::RunState> checkpoints_;
    ReportRenderer::RunState pending_;  // state at the start of the page being laid out
    std::vector<PageFont> fonts_;
    PageSetup portrait_, setup_;
    ReportDefinition report_;
    engine::Table* table_ = nullptr;
    RenderSettings settings_;
};

}  // namespace reports
