// One report run to one output: the page engine, the renderer and the output's sink together.
//
// The status window and the command-line tool both run reports through this class, so every
// output comes from the same layout pass: a text file (mode 3), a PDF file, a printer (any
// QPagedPaintDevice), or recorded pages for the preview (mode 2). `pageStarted` is called
// before each page is laid out (the status window shows the page number and lets Cancel
// through); `cancel()` from there, or from an event it processes, ends the run after the
// current page.
#pragma once

#include <QPagedPaintDevice>
#include <QString>
#include <functional>
#include <memory>

#include "reports/page_model.h"
#include "reports/page_painter.h"
#include "reports/paged_job.h"
#include "reports/report_definition.h"
#include "reports/report_pages.h"
#include "reports/report_renderer.h"

namespace engine {
class Table;
}

namespace reports {

// Letter paper, the page used when no printer gives one.
PageSetup letterPage();

class ReportJob : public PagedJob {
  public:
    // `page` is the paper in portrait; the definition's landscape flag turns it.
    ReportJob(const ReportDefinition& report, engine::Table& table, RenderSettings settings,
              PageSetup page);
    ~ReportJob() override;

    // A text or PDF file is written under a temporary name beside `path` and put in place only
    // when the run completes: a failed or canceled run leaves an existing file as it was. A
    // `path` that is one of the open collection's own files (collection_own_files.h) is refused
    // with error() naming it, before anything is written.
    RunResult runToText(const QString& path);
    RunResult runToPdf(const QString& path);
    // The device must be ready for painting; its page size and orientation are set here.
    RunResult runToDevice(QPagedPaintDevice& device);
    RunResult runToPages(RecordedReport& out);

    // The paper in the run's orientation.
    PageSetup orientedPage() const;

  private:
    RunResult toFile(const QString& path, const std::function<RunResult(const QString&)>& write);
    RunResult writeText(const QString& path);
    RunResult writePdf(const QString& path);
    RunResult run(PageSink& sink, RenderSettings settings, QIODevice* text,
                  RecordedReport* checkpoints = nullptr);
    PageSetup portraitPage() const;

    ReportDefinition report_;  // a copy: the caller's may be a temporary
    engine::Table& table_;
    RenderSettings settings_;
    PageSetup page_;
};

}  // namespace reports
