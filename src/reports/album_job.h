// One run of album pages to one output, as ReportJob is for reports: a PDF file, a printer or
// any paged device, or the pages kept for the preview. The PDF file is written straight when
// its fonts can be embedded: the pictures go in as their stored files where the format can hold
// them (JPEG), else decoded once at print resolution; one picture file is held in memory at a
// time, so an album of any length needs little memory. Otherwise the pages are painted.
#pragma once

#include <QPagedPaintDevice>
#include <vector>

#include "reports/album_pages.h"
#include "reports/page_model.h"
#include "reports/paged_job.h"

namespace reports {

class RecordedReport;

class AlbumJob : public PagedJob {
  public:
    // `page` is the paper in portrait; the options' landscape flag turns it.
    AlbumJob(std::vector<AlbumStamp> stamps, AlbumOptions options, PageSetup page);
    ~AlbumJob() override;

    int stampCount() const { return static_cast<int>(stamps_.size()); }
    PageSetup orientedPage() const;

    RunResult runToPdf(const QString& path);
    // The device must be ready for painting; its page size and orientation are set here.
    RunResult runToDevice(QPagedPaintDevice& device);
    RunResult runToPages(RecordedReport& out);

  private:
    RunResult run(PageSink& sink);

    std::vector<AlbumStamp> stamps_;
    AlbumOptions options_;
    PageSetup page_;
};

}  // namespace reports
