// The pages of a preview run, any of which can be laid out and painted on demand.
//
// The run that records a report only counts its lines, as a text-file run does: it places and
// measures nothing, and keeps of every page the renderer's state at its start (a few dozen
// bytes). A page is laid out when it is asked for, from its state, through the same renderer
// and engine, so a preview of a million-record report opens as soon as the records have been
// walked once and stays small. Laying out reads the table, which must still be open with the
// same records, order and filter as during the run (the Reports window keeps it so while the
// preview is open); when it is closed, pages come out blank.
//
// Fonts become known as pages are laid out: `fonts()` holds those of every page laid out so
// far, and an index, once given, never changes, so a page keeps pointing at its fonts.
#pragma once

#include <functional>
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
    const PageSetup& setup() const { return setup_; }
    int pageCount() const { return static_cast<int>(kept_ ? pages_.size() : checkpoints_.size()); }
    // Page `index` (0-based), laid out from its start; a page outside the report is empty.
    Page page(int index) const;
    // Lays out pages `first` to `last` (0-based, inclusive, clamped to the report) one after
    // another, as the run did, and hands each to `sink` with fonts() (page numbers from 1).
    // `next`, when given, is asked after each page whether to go on.
    void layOut(int first, int last, PageSink& sink, const std::function<bool()>& next = {}) const;
    const std::vector<PageFont>& fonts() const { return fonts_; }

    // --- filled by the run (ReportJob::runToPages) -------------------------------------------
    bool wantsItems() const override { return kept_; }
    void pageDone(Page&& page, int number, const std::vector<PageFont>& fonts) override;
    void begin(const ReportDefinition& report, engine::Table& table, RenderSettings settings,
               PageSetup portrait, PageSetup oriented);
    void addCheckpoint(const ReportRenderer::RunState& state);
    // For a run whose pages are few and laid out whole (album pages): the pages are kept as
    // the run lays them out, and given back as they are.
    void beginKept(PageSetup oriented);

  private:
    std::vector<ReportRenderer::RunState> checkpoints_;
    bool kept_ = false;
    std::vector<Page> pages_;           // kept pages
    ReportRenderer::RunState pending_;  // state at the start of the page being counted
    mutable std::vector<PageFont> fonts_;
    PageSetup portrait_, setup_;
    ReportDefinition report_;
    engine::Table* table_ = nullptr;
    RenderSettings settings_;
};

}  // namespace reports
