#include "cli/cli_interchange.h"

#include <QDate>
#include <QFileInfo>
#include <QStringList>

#include "cli/cli_criteria.h"
#include "cli/cli_picture_transfer.h"
#include "cli/cli_tellico.h"
#include "collection/collection_file.h"
#include "collection/collection_paths.h"
#include "collection/collection_settings.h"
#include "collection/date_format.h"
#include "collection/search_filter.h"
#include "engine/table.h"
#include "interchange/delimited_line_reader.h"
#include "interchange/export_fields.h"
#include "interchange/export_run.h"
#include "interchange/import_assignment.h"
#include "interchange/import_run.h"
#include "interchange/interchange_context.h"
#include "interchange/picture_transfer.h"
#include "interchange/transfer_error.h"

namespace cli {

namespace {

constexpr int kOk = 0;
constexpr int kFail = 2;

QString absolute(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).absoluteFilePath();
}

// The collection at `path` checked and its settings read. While another program has the
// collection open, an index caught in the middle of its change (an import of its own, say) is not
// told as one a program left half-changed: that program has not stopped, and our own writes
// catch up with its change under the write lock.
bool prepare(const QString& path, collection::CollectionSettings& settings, std::ostream& err) {
    const bool othersHaveItOpen = collection::DBaseInUse(path);
    const auto tell = [&err, othersHaveItOpen](const QString& title, const QString& text) {
        if (othersHaveItOpen && title == QLatin1String("Notice")) return;
        err << title.toStdString() << ": " << text.toStdString() << "\n";
    };
    if (!collection::CheckDBaseFormat(path, tell)) return false;
    settings = collection::readCollection(collection::collectionPaths(path).settingsPath);
    return true;
}

// --map IMPORTFIELD=FIELD entries over the import field names.
bool mapAssignment(const std::vector<std::string>& maps, const std::vector<std::string>& names,
                   const QStringList& labels, interchange::FieldAssignment& assignment,
                   std::ostream& err) {
    assignment.assign(names.size(), 0);
    for (const std::string& map : maps) {
        const QString m = QString::fromStdString(map);
        const qsizetype eq = m.lastIndexOf(QLatin1Char('='));
        const QString from = m.left(eq).trimmed();
        int index = -1;
        bool isNumber = false;
        const int number = from.toInt(&isNumber);
        if (isNumber && number >= 1 && number <= int(names.size())) index = number - 1;
        for (std::size_t i = 0; index < 0 && i < names.size(); ++i)
            if (from.compare(QString::fromStdString(names[i]).trimmed(), Qt::CaseInsensitive) == 0)
                index = int(i);
        int field = eq < 0 ? 0 : interchange::stampFieldNamed(m.mid(eq + 1), labels);
        if (eq >= 0 && interchange::namesPictureColumn(m.mid(eq + 1).toStdString()))
            field = interchange::kPictureColumn;
        if (index < 0 || field == 0) {
            err << "Not an import field and a stamp field: " << map << "\n";
            return false;
        }
        assignment[std::size_t(index)] = field;
    }
    return true;
}

// True when the collection keeps pictures (its store's index exists), told without the store.
bool hasPictures(const QString& table) {
    return QFileInfo::exists(collection::collectionPaths(table).basePath +
                             QStringLiteral("-pictures/pictures.idx"));
}

// Whether a text import sends a field to the pictures: a --map to "Pictures", or without --map
// an import field of that name.
bool textImportHasPictures(const std::vector<std::string>& maps,
                           const std::vector<std::string>& names) {
    if (maps.empty())
        return std::any_of(names.begin(), names.end(), interchange::namesPictureColumn);
    return std::any_of(maps.begin(), maps.end(), [](const std::string& map) {
        const std::size_t eq = map.rfind('=');
        return eq != std::string::npos && interchange::namesPictureColumn(map.substr(eq + 1));
    });
}

}  // namespace

int reportImport(const interchange::ImportResult& r, std::ostream& out, std::ostream& err) {
    out << "Imported " << r.added << " records.\n";
    if (r.valuesChanged)
        out << r.valuesChanged
            << " values held characters the collection cannot store; a "
               "stand-in character took their place.\n";
    if (const std::string notes = interchange::importNotes(r); !notes.empty())
        out << notes << "\n";
    if (!r.error.empty()) {
        err << "Error: " << r.error << "\n";
        return kFail;
    }
    return kOk;
}

interchange::ImportOptions importOptions() {
    interchange::ImportOptions options;
    options.dateFormat = settingsDateFormat();
    options.currentYear = QDate::currentDate().year();
    return options;
}

void openForExport(engine::Table& table, const QString& path,
                   const collection::SearchCriteria* criteria) {
    table.open(path.toStdString(), engine::OpenMode::Shared);
    for (const engine::TagInfo& tag : table.tags())
        if (QString::fromStdString(tag.name).compare(QStringLiteral("NewIndex"),
                                                     Qt::CaseInsensitive) == 0)
            table.selectIndex(tag.name);
    if (criteria) table.setFilter(collection::SearchFilter(*criteria, table));
}

int reportExport(const interchange::ExportResult& r, const QString& target, std::ostream& out,
                 std::ostream& err) {
    if (!r.error.empty()) {
        // Nothing of a failed run is kept: the target stays as it was.
        err << "Error: " << r.error << "\nNothing was exported; " << target.toStdString()
            << " was left as it was.\n";
        return kFail;
    }
    out << "Exported " << r.written << " records.\n";
    if (const std::string notes = interchange::exportNotes(r); !notes.empty()) out << notes << "\n";
    return kOk;
}

int runImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // args: import FILE SOURCE options...
    bool text = false, dbf = false, tellico = false, skipFirst = false;
    std::vector<std::string> maps;
    for (std::size_t i = 3; i < args.size(); ++i) {
        if (args[i] == "--text") {
            text = true;
        } else if (args[i] == "--dbf") {
            dbf = true;
        } else if (args[i] == "--tellico") {
            tellico = true;
        } else if (args[i] == "--skip-first") {
            skipFirst = true;
        } else if (args[i] == "--map" && i + 1 < args.size()) {
            maps.push_back(args[++i]);
        } else {
            err << "Unknown import option: " << args[i] << "\n";
            return kFail;
        }
    }
    if (int(text) + int(dbf) + int(tellico) != 1 || (!text && skipFirst) ||
        (tellico && !maps.empty())) {
        err << "Give one of --text [--skip-first], --dbf or --tellico.\n";
        return kFail;
    }
    const QString path = absolute(args[1]);
    const std::string source = absolute(args[2]).toStdString();
    // A text file's picture column needs the picture store (cli_picture_transfer.h); Tellico
    // files go to the program that reads them, which stores their pictures (cli_tellico.h).
    std::unique_ptr<interchange::ImportPictures> pictures;
    bool withPictures = false;
    if (text) {
        try {
            withPictures = textImportHasPictures(maps, interchange::readFirstLine(source).names);
        } catch (const interchange::TransferError&) {
            // Told below, where the first line is read again.
        }
    }
    if (withPictures) {
        pictures = importPictures(path, QString::fromStdString(source));
        if (!pictures) return runWithPictures(args, out, err);
    }
    collection::CollectionSettings settings;
    if (!prepare(path, settings, err)) return kFail;
    // A table or index that cannot be written would take records the index never learns of.
    if (collection::collectionReadOnly(path)) {
        err << "Error: " << interchange::readOnlyImportMessage(path).toStdString() << "\n";
        return kFail;
    }

    if (tellico) return importTellicoFile(args, path, source, out, err);

    std::vector<std::string> names;
    if (text) {
        interchange::FirstLine line;
        try {
            line = interchange::readFirstLine(source);
        } catch (const interchange::TransferError& e) {
            err << "Error: " << e.what() << "\n";
            return kFail;
        }
        if (line.check != interchange::FirstLineCheck::Passed) {
            err << "The first line fails check " << int(line.check)
                << " (1: a value over 255 characters, 2: an unmatched quote or unquoted field, "
                   "3: more than 35 fields).\n";
            return kFail;
        }
        names = line.names;
    } else {
        try {
            names = interchange::dbfFieldNames(source);
        } catch (const std::exception& e) {
            err << "Error: " << e.what() << "\n";
            return kFail;
        }
    }
    const QStringList labels = interchange::fieldLabels(&settings);
    interchange::FieldAssignment assignment;
    if (maps.empty())
        assignment = interchange::assignmentByName(names, labels);
    else if (!mapAssignment(maps, names, labels, assignment, err))
        return kFail;
    if (std::all_of(assignment.begin(), assignment.end(), [](int k) { return k == 0; })) {
        err << "No import field goes to a field of the collection; give --map IMPORTFIELD=FIELD.\n";
        return kFail;
    }

    engine::Table table;
    table.open(path.toStdString(), engine::OpenMode::Shared);
    interchange::ImportOptions options = importOptions();
    options.pictures = pictures.get();
    return reportImport(
        text ? interchange::importText(table, source, int(names.size()), skipFirst, assignment,
                                       options)
             : interchange::importDbf(table, source, assignment, options),
        out, err);
}

int runExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool text = false, dbf = false, tellico = false, titles = true, pictureColumn = false;
    std::string fieldList;
    std::vector<std::string> criteria;
    for (std::size_t i = 3; i < args.size(); ++i) {
        if (args[i] == "--text") {
            text = true;
        } else if (args[i] == "--dbf") {
            dbf = true;
        } else if (args[i] == "--tellico") {
            tellico = true;
        } else if (args[i] == "--no-titles") {
            titles = false;
        } else if (args[i] == "--pictures") {
            pictureColumn = true;
        } else if (args[i] == "--fields" && i + 1 < args.size()) {
            fieldList = args[++i];
        } else {
            criteria.push_back(args[i]);
        }
    }
    if (int(text) + int(dbf) + int(tellico) != 1 || (!text && (!titles || pictureColumn)) ||
        (tellico && !fieldList.empty())) {
        err << "Give one of --text [--no-titles] [--pictures], --dbf or --tellico.\n";
        return kFail;
    }
    const QString path = absolute(args[1]);
    const QString target = absolute(args[2]);
    // A dBase table or Tellico file takes the stamps' pictures whenever the collection has any;
    // a text file when asked (a last column naming the picture files copied beside it).
    const interchange::ExportKind kind = text  ? interchange::ExportKind::Text
                                         : dbf ? interchange::ExportKind::Dbase
                                               : interchange::ExportKind::Tellico;
    std::unique_ptr<interchange::ExportPictures> pictures;
    if (text ? pictureColumn : hasPictures(path)) {
        pictures = exportPictures(path, target, kind);
        if (!pictures) return runWithPictures(args, out, err);
    }
    if (dbf && !interchange::hasExtension(target, QStringLiteral(".DBF"))) {
        err << "Invalid file type selected.\n";
        return kFail;
    }
    collection::CollectionSettings settings;
    if (!prepare(path, settings, err)) return kFail;
    const QStringList labels = interchange::fieldLabels(&settings);

    interchange::ExportRequest request;
    if (fieldList.empty()) {
        request.fields = interchange::exportList(interchange::exportRows(settings));
    } else {
        for (const QString& name : QString::fromStdString(fieldList).split(QLatin1Char(','))) {
            const int field = interchange::stampFieldNamed(name, labels);
            if (field == 0) {
                err << "Not a stamp field: " << name.toStdString() << "\n";
                return kFail;
            }
            request.fields.push_back(field);
        }
    }
    if (request.fields.empty() && !tellico) {
        err << "No fields selected for export.\n";
        return kFail;
    }
    request.dateFormat = settingsDateFormat();
    request.pictures = pictures.get();
    const CriteriaParse parsed =
        parseCriteria(criteria, collectionLabels(path), request.dateFormat);
    if (!parsed.ok()) {
        err << parsed.error.toStdString() << "\n";
        return kFail;
    }
    if (text && titles) {
        // A field the viewer shows carries its label; a hidden one its dBase name.
        for (int field : request.fields)
            request.titles.push_back(
                (settings.field(field).display
                     ? labels[field - 1]
                     : QString::fromLatin1(collection::schemaField(field).name))
                    .toStdString());
    }

    const collection::SearchCriteria* filter = criteria.empty() ? nullptr : &parsed.criteria;
    if (tellico) return exportTellicoFile(args, path, target, request, filter, out, err);
    engine::Table table;
    openForExport(table, path, filter);
    const std::string to = target.toStdString();
    return reportExport(text ? interchange::exportText(table, to, request)
                             : interchange::exportDbf(table, to, request),
                        target, out, err);
}

}  // namespace cli
