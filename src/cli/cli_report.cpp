#include "cli/cli_report.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QString>

#include "cli/cli_criteria.h"
#include "collection/collection_file.h"
#include "collection/collection_paths.h"
#include "collection/collection_settings.h"
#include "collection/date_format.h"
#include "collection/global_settings.h"
#include "collection/regional_settings.h"
#include "collection/search_filter.h"
#include "collection/settings_paths.h"
#include "collection/sort_expression.h"
#include "collection/sort_order.h"
#include "engine/table.h"
#include "reports/report_file.h"
#include "reports/report_job.h"

namespace cli {

namespace {

constexpr int kOk = 0;
constexpr int kFail = 2;

const char* kReportUsage =
    "usage: tessellon-cli report FILE.DBF NUMBER (--text OUT.TXT | --pdf OUT.PDF) [--urp PATH]\n"
    "                            [CRITERION...]\n";

struct ReportArgs {
    QString collection;
    int number = 0;
    QString text, pdf, urp;
    std::vector<std::string> criteria;
};

bool parseArgs(const std::vector<std::string>& args, ReportArgs& out, std::ostream& err) {
    if (args.size() < 3) return false;
    out.collection = QFileInfo(QString::fromStdString(args[1])).absoluteFilePath();
    bool ok = false;
    out.number = QString::fromStdString(args[2]).toInt(&ok);
    if (!ok || out.number < 1) {
        err << "Not a report number (1 or more): " << args[2] << "\n";
        return false;
    }
    for (std::size_t i = 3; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool valued = a == "--text" || a == "--pdf" || a == "--urp";
        if (valued) {
            if (i + 1 >= args.size()) return false;
            const QString v = QString::fromStdString(args[++i]);
            (a == "--text" ? out.text : a == "--pdf" ? out.pdf : out.urp) = v;
        } else {
            out.criteria.push_back(a);
        }
    }
    return out.text.isEmpty() != out.pdf.isEmpty();
}

// The collection's sort tag, selected; built first when the file has none for its order.
void selectSortOrder(engine::Table& table, const QString& path, const QString& expression) {
    table.open(path.toStdString(), engine::OpenMode::Shared);
    if (expression.isEmpty()) return;
    for (const engine::TagInfo& tag : table.tags()) {
        if (QString::fromStdString(tag.name).compare(QLatin1String("NewIndex"),
                                                     Qt::CaseInsensitive) == 0 &&
            QString::fromStdString(tag.expression).compare(expression, Qt::CaseInsensitive) == 0) {
            table.selectIndex("NewIndex");
            return;
        }
    }
    table.close();
    collection::rebuildSortTagOnOpen(table, path, expression);
}

}  // namespace

int runReport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ReportArgs a;
    if (!parseArgs(args, a, err)) {
        err << kReportUsage;
        return kFail;
    }
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        err << "The report verb needs a graphical application object.\n";
        return kFail;
    }
    // Without --urp: the program directory's file, the folder and the file with the default
    // reports made when missing, as the program does at its first start.
    if (a.urp.isEmpty()) {
        QString folderError;
        if (!collection::prepareProgramDirectory(&folderError)) {
            err << folderError.toStdString() << "\n";
            return kFail;
        }
        reports::ensureReportFile(collection::programDirectory());
    }
    const QString urp = a.urp.isEmpty()
                            ? reports::ReportFile::inFolder(collection::programDirectory()).path()
                            : a.urp;
    if (!QFileInfo::exists(urp)) {
        err << "The report file " << urp.toStdString()
            << (a.urp.isEmpty() ? " could not be created.\n" : " does not exist.\n");
        return kFail;
    }
    const std::optional<reports::ReportDefinition> report =
        reports::ReportFile(urp).read(a.number - 1);
    if (!report) {
        err << "Report " << a.number << " not found in " << urp.toStdString() << "\n";
        return kFail;
    }
    const auto tell = [&err](const QString& title, const QString& text) {
        err << title.toStdString() << ": " << text.toStdString() << "\n";
    };
    if (!collection::CheckDBaseFormat(a.collection, tell)) return kFail;

    // The collection's own settings: sort order, field labels; the program's display formats.
    const collection::CollectionSettings settings =
        collection::readCollection(collection::collectionPaths(a.collection).settingsPath);
    const collection::GlobalSettings global = collection::readGlobal(QString());
    collection::applyDateFormat(global.misc.dateFormat, global.misc.dateLeadingZeros);
    collection::setCurrentRegionalSettings(collection::readRegionalSettings());

    engine::Table table;
    selectSortOrder(table, a.collection, collection::BuildSortString(settings.sortLevels));
    if (!a.criteria.empty()) {
        const CriteriaParse parsed =
            parseCriteria(a.criteria, collectionLabels(a.collection), settingsDateFormat());
        if (!parsed.ok()) {
            err << parsed.error.toStdString() << "\n";
            return kFail;
        }
        table.setFilter(collection::SearchFilter(parsed.criteria, table));
    }

    reports::RenderSettings render;
    for (int n = 1; n <= collection::kFieldCount; ++n)
        render.fieldLabels[n - 1] = settings.field(n).label;
    render.sortLevels = settings.sortLevels;
    render.numericFormat = global.misc.numericFormat;
    render.currencyFormat = global.misc.currencyFormat;
    render.today = QDate::currentDate();
    reports::ReportJob job(*report, table, render, reports::letterPage());
    const reports::RunResult result =
        a.text.isEmpty() ? job.runToPdf(a.pdf) : job.runToText(a.text);
    if (result != reports::RunResult::Completed) {
        err << "Error: " << job.error().toStdString() << "\n";
        return kFail;
    }
    out << "Report \"" << report->name.toStdString() << "\" written to "
        << (a.text.isEmpty() ? a.pdf : a.text).toStdString() << "\n";
    return kOk;
}

}  // namespace cli
