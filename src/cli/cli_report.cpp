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
#include "reports/album_job.h"
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

const char* kAlbumUsage =
    "usage: tessellon-cli album FILE.DBF --pdf OUT.PDF [--per-row N] [--landscape]\n"
    "                           [CRITERION...]\n";

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

// What the opening of a collection's viewed records read on the way.
struct Viewed {
    collection::CollectionSettings settings;
    collection::GlobalSettings global;
};

// Opens the collection in its sort order, through `criteria` when there are any, with the
// program's display formats applied; false after telling why on `err`.
bool openViewed(engine::Table& table, const QString& path, const std::vector<std::string>& criteria,
                std::ostream& err, Viewed& out) {
    const auto tell = [&err](const QString& title, const QString& text) {
        err << title.toStdString() << ": " << text.toStdString() << "\n";
    };
    if (!collection::CheckDBaseFormat(path, tell)) return false;

    // The collection's own settings: sort order, field labels; the program's display formats.
    out.settings = collection::readCollection(collection::collectionPaths(path).settingsPath);
    out.global = collection::readGlobal(QString());
    collection::applyDateFormat(out.global.misc.dateFormat, out.global.misc.dateLeadingZeros);
    collection::setCurrentRegionalSettings(collection::readRegionalSettings());

    selectSortOrder(table, path, collection::BuildSortString(out.settings.sortLevels));
    if (!criteria.empty()) {
        const CriteriaParse parsed =
            parseCriteria(criteria, collectionLabels(path), settingsDateFormat());
        if (!parsed.ok()) {
            err << parsed.error.toStdString() << "\n";
            return false;
        }
        table.setFilter(collection::SearchFilter(parsed.criteria, table));
    }
    return true;
}

bool needsGui(std::ostream& err, const char* verb) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return true;
    err << "The " << verb << " verb needs a graphical application object.\n";
    return false;
}

}  // namespace

int runReport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ReportArgs a;
    if (!parseArgs(args, a, err)) {
        err << kReportUsage;
        return kFail;
    }
    if (!needsGui(err, "report")) return kFail;
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
    engine::Table table;
    Viewed viewed;
    if (!openViewed(table, a.collection, a.criteria, err, viewed)) return kFail;
    const collection::CollectionSettings& settings = viewed.settings;
    const collection::GlobalSettings& global = viewed.global;

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

int runAlbum(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() < 2) {
        err << kAlbumUsage;
        return kFail;
    }
    const QString collectionPath = QFileInfo(QString::fromStdString(args[1])).absoluteFilePath();
    QString pdf;
    reports::AlbumOptions options;
    std::vector<std::string> criteria;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--landscape") {
            options.landscape = true;
        } else if (a == "--pdf" || a == "--per-row") {
            if (i + 1 >= args.size()) {
                err << kAlbumUsage;
                return kFail;
            }
            const QString value = QString::fromStdString(args[++i]);
            if (a == "--pdf") {
                pdf = value;
                continue;
            }
            bool ok = false;
            options.perRow = value.toInt(&ok);
            if (!ok || options.perRow < reports::kMinPerRow ||
                options.perRow > reports::kMaxPerRow) {
                err << "Pictures per row must be a number from " << reports::kMinPerRow << " to "
                    << reports::kMaxPerRow << ": " << args[i] << "\n";
                return kFail;
            }
        } else {
            criteria.push_back(a);
        }
    }
    if (pdf.isEmpty()) {
        err << kAlbumUsage;
        return kFail;
    }
    if (!needsGui(err, "album")) return kFail;

    engine::Table table;
    Viewed viewed;
    if (!openViewed(table, collectionPath, criteria, err, viewed)) return kFail;
    std::vector<reports::AlbumStamp> stamps =
        reports::albumStamps(table, reports::storeMainPicture(collectionPath));
    if (stamps.empty()) {
        err << "None of the stamps chosen has a picture: no album pages were written.\n";
        return kFail;
    }
    options.today = QDate::currentDate();
    reports::AlbumJob job(std::move(stamps), options, reports::letterPage());
    const int count = job.stampCount();
    if (job.runToPdf(pdf) != reports::RunResult::Completed) {
        err << "Error: " << job.error().toStdString() << "\n";
        return kFail;
    }
    out << "Album pages of " << count << (count == 1 ? " stamp" : " stamps") << " written to "
        << pdf.toStdString() << "\n";
    return kOk;
}

}  // namespace cli
