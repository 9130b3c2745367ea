#include "reports/report_job.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "collection/collection_own_files.h"
#include "collection/replacing_file.h"
#include "engine/error.h"
#include "engine/table.h"
#include "reports/pdf_file.h"

namespace reports {

namespace {

constexpr char kJobTitle[] = "Test Report";

}  // namespace

PageSetup letterPage() {
    return PageSetup{QSizeF(8.5, 11.0), false};
}

ReportJob::ReportJob(const ReportDefinition& report, engine::Table& table, RenderSettings settings,
                     PageSetup page)
    : report_(report), table_(table), settings_(std::move(settings)), page_(page) {}

ReportJob::~ReportJob() = default;

PageSetup orientedAs(PageSetup page, bool landscape) {
    if (page.landscape) page.size.transpose();  // back to portrait first
    page.landscape = landscape;
    if (page.landscape) page.size.transpose();
    return page;
}

PageSetup ReportJob::orientedPage() const {
    return orientedAs(page_, report_.landscape);
}

PageSetup ReportJob::portraitPage() const {
    return orientedAs(page_, false);
}

RunResult ReportJob::run(PageSink& sink, RenderSettings settings, QIODevice* text,
                         RecordedReport* checkpoints) {
    canceled_ = false;
    error_.clear();
    PageEngine engine(portraitPage(), sink);
    engine.setOrientation(report_.landscape);
    ReportRenderer renderer(report_, table_, engine, std::move(settings), text);
    engine.setPageStarted([&](int page) {
        if (checkpoints) checkpoints->addCheckpoint(renderer.state());
        if (pageStarted_) pageStarted_(page);
    });
    if (pageStarted_) renderer.setProgress([this] { pageStarted_(0); });
    engine_ = &engine;
    bool completed = false;
    try {
        completed = engine.run(renderer);
    } catch (const engine::EngineError& e) {
        engine_ = nullptr;
        error_ = QString::fromStdString(e.what());
        return RunResult::Failed;
    }
    engine_ = nullptr;
    if (renderer.writeFailed()) {
        error_ = QStringLiteral("The report could not be written.");
        // The system's reason, as the device gave it when the write failed ("No space left on
        // device").
        if (text && !text->errorString().isEmpty())
            error_ += QStringLiteral("  %1.").arg(text->errorString());
        return RunResult::Failed;
    }
    return completed ? RunResult::Completed : RunResult::Canceled;
}

RunResult ReportJob::runToText(const QString& path) {
    return toFile(path, [this](const QString& temporary) { return writeText(temporary); });
}

RunResult ReportJob::runToPdf(const QString& path) {
    return toFile(path, [this](const QString& temporary) { return writePdf(temporary); });
}

RunResult ReportJob::toFile(const QString& path,
                            const std::function<RunResult(const QString&)>& write) {
    error_.clear();
    const QString table = QString::fromStdString(table_.path());
    if (const auto own = collection::collectionFileAt(table, path)) {
        error_ = collection::ownFileRefusal(path, *own, table);
        return RunResult::Failed;
    }
    std::unique_ptr<collection::ReplacingFile> file;
    try {
        file = std::make_unique<collection::ReplacingFile>(path.toStdString());
        file->closeFile();
    } catch (const std::exception& e) {
        error_ = QString::fromStdString(e.what());
        return RunResult::Failed;
    }
    const QString temporary = QString::fromStdString(file->temporaryPath());
    RunResult result = write(temporary);
    if (result == RunResult::Completed) {
        try {
            file->commit();
        } catch (const std::exception& e) {
            error_ = QString::fromStdString(e.what());
            result = RunResult::Failed;
        }
    }
    // Messages name the user's file, not the temporary one.
    error_.replace(temporary, path);
    return result;
}

RunResult ReportJob::writeText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        error_ = file.errorString();
        return RunResult::Failed;
    }
    DiscardingSink sink;
    RenderSettings settings = settings_;
    settings.mode = OutputMode::TextFile;
    const RunResult result = run(sink, settings, &file);
    file.close();
    if (result == RunResult::Completed && file.error() != QFileDevice::NoError) {
        error_ = file.errorString();
        return RunResult::Failed;
    }
    return result;
}

RunResult ReportJob::runToDevice(QPagedPaintDevice& device) {
    const PageSetup setup = orientedPage();
    preparePagedDevice(device, setup);
    PaintingSink sink(device, setup);
    RenderSettings settings = settings_;
    settings.mode = OutputMode::Printer;
    const RunResult result = run(sink, settings, nullptr);
    if (result != RunResult::Failed && !sink.ok()) {
        error_ = QStringLiteral("The pages could not be printed.");
        return RunResult::Failed;
    }
    return result;
}

RunResult ReportJob::writePdf(const QString& path) {
    // Written directly when every font of the report can be embedded as it is; else painted.
    bool direct = true;
    for (int kind : {kTitleFont, kColumnHeaderFont, kBodyFont, kFootnoteFont})
        direct = direct && PdfFile::canEmbed(pageFont(report_.font(kind)));
    if (direct) {
        PdfFile pdf(path, orientedPage(), QString::fromLatin1(kJobTitle));
        RenderSettings settings = settings_;
        settings.mode = OutputMode::Printer;
        const RunResult result = pdf.ok() ? run(pdf, settings, nullptr) : RunResult::Failed;
        if (result != RunResult::Canceled && !pdf.ok()) {
            error_ = pdf.errorString();
            return RunResult::Failed;
        }
        return result;
    }
    QPdfWriter writer(path);
    writer.setResolution(static_cast<int>(kReferenceDpi));
    writer.setTitle(QString::fromLatin1(kJobTitle));
    writer.setCreator(QStringLiteral("Tessellon"));
    const RunResult result = runToDevice(writer);
    return result;
}

RunResult ReportJob::runToPages(RecordedReport& out) {
    RenderSettings settings = settings_;
    settings.mode = OutputMode::Preview;
    out.begin(report_, table_, settings, portraitPage(), orientedPage());
    return run(out, settings, nullptr, &out);
}

}  // namespace reports
