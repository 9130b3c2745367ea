#include "reports/album_job.h"

#include <QPdfWriter>

#include "reports/page_painter.h"
#include "reports/pdf_file.h"
#include "reports/report_pages.h"

namespace reports {

AlbumJob::AlbumJob(std::vector<AlbumStamp> stamps, AlbumOptions options, PageSetup page)
    : stamps_(std::move(stamps)), options_(options), page_(orientedAs(page, false)) {}

AlbumJob::~AlbumJob() = default;

PageSetup AlbumJob::orientedPage() const {
    return orientedAs(page_, options_.landscape);
}

RunResult AlbumJob::run(PageSink& sink) {
    canceled_ = false;
    error_.clear();
    PageEngine engine(page_, sink);
    engine.setOrientation(options_.landscape);
    AlbumPages pages(stamps_, engine, options_);
    engine.setPageStarted([this](int page) {
        if (pageStarted_) pageStarted_(page);
    });
    engine_ = &engine;
    const bool completed = engine.run(pages);
    engine_ = nullptr;
    return completed && !canceled_ ? RunResult::Completed : RunResult::Canceled;
}

RunResult AlbumJob::runToPdf(const QString& path) {
    if (PdfFile::canEmbed(albumCaptionFont()) && PdfFile::canEmbed(albumHeadingFont())) {
        PdfFile pdf(path, orientedPage(), QStringLiteral("Album Pages"));
        const RunResult result = pdf.ok() ? run(pdf) : RunResult::Failed;
        if (result != RunResult::Canceled && !pdf.ok()) {
            error_ = pdf.errorString();
            return RunResult::Failed;
        }
        return result;
    }
    QPdfWriter writer(path);
    writer.setResolution(static_cast<int>(kReferenceDpi));
    writer.setTitle(QStringLiteral("Album Pages"));
    writer.setCreator(QStringLiteral("Tessellon"));
    return runToDevice(writer);
}

RunResult AlbumJob::runToDevice(QPagedPaintDevice& device) {
    const PageSetup setup = orientedPage();
    preparePagedDevice(device, setup);
    PaintingSink sink(device, setup);
    const RunResult result = run(sink);
    if (result != RunResult::Failed && !sink.ok()) {
        error_ = QStringLiteral("The pages could not be printed.");
        return RunResult::Failed;
    }
    return result;
}

RunResult AlbumJob::runToPages(RecordedReport& out) {
    out.beginKept(orientedPage());
    return run(out);
}

}  // namespace reports
