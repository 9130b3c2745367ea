#include "cli/cli_commands.h"

#include "cli/cli_safekeeping.h"

#include "cli/cli_criteria.h"
#include "cli/cli_interchange.h"
#include "cli/cli_pack.h"
#include "cli/cli_pictures.h"
#include "cli/cli_recall.h"
#include "cli/cli_text.h"
#include "cli/cli_report.h"
#include "cli/cli_stats.h"
#include "collection/search_filter.h"

#include <QFileInfo>
#include <QString>
#include <functional>
#include <map>

#include "collection/code_pages.h"
#include "collection/collection_file.h"
#include "collection/collection_paths.h"
#include "collection/collection_settings.h"
#include "collection/sort_expression.h"
#include "collection/sort_order.h"
#include "collection/stamp_schema.h"
#include "collection/table_maintenance.h"
#include "collection/date_format.h"
#include "collection/global_settings.h"
#include "searching/search_replace.h"
#include "engine/error.h"
#include "engine/table.h"
#include "interchange/byte_source.h"

namespace cli {

namespace {

constexpr int kOk = 0;
constexpr int kNo = 1;
constexpr int kFail = 2;
const char* kNewIndex = "NewIndex";

struct Context {
    const std::vector<std::string>& args;
    std::ostream& out;
    std::ostream& err;
};

const char* kUsage =
    "usage: tessellon-cli VERB FILE.DBF [ARGS]\n"
    "  create FILE.DBF [--codepage N]\n"
    "                              create an empty collection (replaces the file); its text in\n"
    "                              Windows code page N: 1252 (default), 1250, 1251, 1253, 1254\n"
    "                              or 1257\n"
    "  check FILE.DBF              exit 0 when FILE is a Tessellon collection, 1 if not\n"
    "  info FILE.DBF               fields, record count, index tags\n"
    "  dump FILE.DBF [--tag NAME]  every record as a quoted, comma-separated line\n"
    "  dump FILE.DBF --deleted     the deleted records Pack has not removed, each line\n"
    "                              starting with its record number\n"
    "  recall FILE.DBF RECNO...    bring back deleted records by their record numbers\n"
    "  pack FILE.DBF               remove deleted records and rebuild the indexes\n"
    "  reindex FILE.DBF            rebuild every index tag\n"
    "  index FILE.DBF EXPRESSION   add or replace the tag NewIndex\n"
    "  sort FILE.DBF LEVEL1 [LEVEL2 LEVEL3 LEVEL4]\n"
    "                              set the sort levels (field numbers 1-25, 0 for none),\n"
    "                              store them in the collection's .INI and rebuild NewIndex\n"
    "  backup FILE.DBF FOLDER      copy the collection's table into FOLDER\n"
    "  restore BACKUP.DBF PROGRAMDIR\n"
    "                              copy a backed-up table into PROGRAMDIR and index it\n"
    "  search FILE.DBF [--count] CRITERION... [--or CRITERION...]...\n"
    "                              the records that pass a query search (printed as dump\n"
    "                              prints them, or only their number); CRITERION is\n"
    "                              FIELD:VALUE, e.g. Country:fra 'Year:> 1900 AND < 1950'\n"
    "  replace FILE.DBF FIELD SEARCH REPLACEMENT\n"
    "                              set FIELD (number 1-25 or dBase name) to REPLACEMENT in every\n"
    "                              record whose FIELD equals SEARCH (text in any case); dates in\n"
    "                              the program's date format; prints the three counters\n"
    "  report FILE.DBF NUMBER (--text OUT.TXT | --pdf OUT.PDF) [--urp PATH] [CRITERION...]\n"
    "                              run report NUMBER (1 = first of TESSELON.URP) over the\n"
    "                              collection in its sort order, criteria as for search\n"
    "  album FILE.DBF --pdf OUT.PDF [--per-row N] [--landscape] [CRITERION...]\n"
    "                              album pages of the stamps' pictures, grouped by country,\n"
    "                              in sort order, criteria as for search\n"
    "  import FILE.DBF SOURCE (--text [--skip-first] | --dbf | --tellico)\n"
    "         [--map IMPORTFIELD=FIELD ...]\n"
    "                              add the records of a delimited text file, a dBase table\n"
    "                              or a Tellico stamp collection (.tc or .xml), with their\n"
    "                              pictures (a text file's \"Pictures\" column)\n"
    "  export FILE.DBF TARGET (--text [--no-titles] [--pictures] | --dbf | --tellico)\n"
    "         [--fields F1,F2,...] [CRITERION...]\n"
    "                              write the records (those passing the criteria, as in\n"
    "                              search) in sort order to a text file, a new dBase table\n"
    "                              or a Tellico stamp collection (.tc, all fields), with\n"
    "                              their pictures (a text file's with --pictures)\n"
    "  picture FILE.DBF RECNO (add PATH... | list | remove N | export DIR)\n"
    "                              the pictures of record RECNO: add copies files in, list\n"
    "                              shows them in order (1 = main picture), export copies them\n"
    "  stats FILE.DBF [--by FIELD] [--csv] [CRITERION...]\n"
    "                              stamps, copies, market value and purchase price of the\n"
    "                              collection (or of the records passing the criteria), or\n"
    "                              broken down by FIELD (Country, Year, Condition, ...)\n";

collection::MessageSink printTo(std::ostream& err) {
    return [&err](const QString& title, const QString& text) {
        err << title.toStdString() << ": " << text.toStdString() << "\n";
    };
}

// `s` with every byte outside printable ASCII written as \xHH, fit for a message.
std::string escapedBytes(const std::string& s) {
    static const char hex[] = "0123456789ABCDEF";
    std::string r;
    for (const char ch : s) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x20 && b < 0x7F) {
            r += ch;
        } else {
            r += "\\x";
            r += hex[b >> 4];
            r += hex[b & 15];
        }
    }
    return r;
}

int doCreate(Context& c) {
    engine::CodePage codePage = engine::CodePage::Cp1252;
    if (c.args.size() != 2) {
        const auto chosen = c.args.size() == 4 && c.args[2] == "--codepage"
                                ? collection::offeredCodePage(QString::fromStdString(c.args[3]))
                                : std::nullopt;
        if (!chosen) {
            c.err << kUsage;
            return kFail;
        }
        codePage = *chosen;
    }
    bool ok = collection::MakeNewDB(QString::fromStdString(absolute(c.args[1])), printTo(c.err),
                                    codePage);
    return ok ? kOk : kFail;
}

int doCheck(Context& c) {
    bool ok = false;
    try {
        ok = collection::CheckDBaseFormat(QString::fromStdString(c.args[1]), printTo(c.err));
    } catch (const engine::EngineError& e) {
        c.err << "Error: " << e.what() << "\n";
    }
    if (ok) c.out << "A Tessellon collection.\n";
    return ok ? kOk : kNo;
}

char typeLetter(const engine::FieldInfo& f) { return f.typeLetter; }

// What the table found wrong with its index on opening, told once on the error stream.
void tellIndexNotice(const engine::Table& t, std::ostream& err) {
    if (!t.indexNotice().empty()) err << "Notice: " << t.indexNotice() << "\n";
}

std::string tagOptions(const engine::TagInfo& tag) {
    std::string options;
    if (tag.descending) options += " DESCENDING";
    if (tag.unique) options += " UNIQUE";
    if (!tag.forExpression.empty()) options += " FOR " + tag.forExpression;
    return options;
}

int doInfo(Context& c) {
    engine::Table t;
    t.open(absolute(c.args[1]), engine::OpenMode::ReadOnly);
    tellIndexNotice(t, c.err);
    c.out << "Table: " << t.path() << "\n";
    c.out << "Fields: " << t.fieldCount() << "\n";
    int n = 0;
    for (const auto& f : t.fields()) {
        c.out << "  " << ++n << " " << f.name << " " << typeLetter(f) << "(" << f.length;
        if (f.decimals) c.out << "," << f.decimals;
        c.out << ")\n";
    }
    c.out << "Records: " << t.recordCount() << " (" << t.physicalCount() << " in the file)\n";
    auto tags = t.tags();
    c.out << "Tags: " << tags.size() << "\n";
    for (const auto& tag : tags)
        c.out << "  " << tag.name << " " << tag.keyType << "(" << tag.keyLength << ") "
              << tag.expression << tagOptions(tag) << "\n";
    return kOk;
}

// Every visible record of `t` as a quoted, comma-separated line, in the table's order.
void dumpRecords(engine::Table& t, std::ostream& out) {
    const int n = t.fieldCount();
    std::string line;
    for (t.first(); !t.eof(); t.next()) {
        engine::RecordView r = t.current();
        line.clear();
        for (int i = 0; i < n; ++i) {
            if (i) line += ',';
            line += quoted(r.text(i));
        }
        line += '\n';
        out << line;
    }
}

int doDump(Context& c) {
    if (c.args.size() == 3 && c.args[2] == "--deleted") return dumpDeleted(c.args[1], c.out, c.err);
    engine::Table t;
    t.open(absolute(c.args[1]), engine::OpenMode::ReadOnly);
    tellIndexNotice(t, c.err);
    if (c.args.size() == 4 && c.args[2] == "--tag") {
        t.selectIndex(c.args[3]);
    } else if (c.args.size() != 2) {
        c.err << kUsage;
        return kFail;
    }
    dumpRecords(t, c.out);
    return kOk;
}

// search FILE.DBF [--count] CRITERION... [--or CRITERION...]...: the records that pass, in
// record order, as dump prints them (or only their number).
int doSearch(Context& c) {
    const bool countOnly = c.args[2] == "--count";
    const std::vector<std::string> criteria(c.args.begin() + (countOnly ? 3 : 2), c.args.end());
    if (criteria.empty()) {
        c.err << kUsage;
        return kFail;
    }
    const QString path = QString::fromStdString(absolute(c.args[1]));
    const CriteriaParse parsed =
        parseCriteria(criteria, collectionLabels(path), settingsDateFormat());
    if (!parsed.ok()) {
        c.err << parsed.error.toStdString() << "\n";
        return kFail;
    }
    engine::Table t;
    t.open(path.toStdString(), engine::OpenMode::ReadOnly);
    tellIndexNotice(t, c.err);
    t.setFilter(collection::SearchFilter(parsed.criteria, t));
    if (countOnly)
        c.out << t.recordCount() << "\n";
    else
        dumpRecords(t, c.out);
    return kOk;
}

int doPack(Context& c) { return runPack(c.args, c.out, c.err); }

int doReindex(Context& c) {
    // A collection's sort tag can be made again from its settings even when the index
    // lost it.
    const QString path = QString::fromStdString(absolute(c.args[1]));
    QString sortExpression;
    if (collection::CheckDBaseFormat(path, nullptr))
        sortExpression = collection::BuildSortString(
            collection::readCollection(collection::collectionPaths(path).settingsPath).sortLevels);
    engine::Table t;
    t.open(path.toStdString(), engine::OpenMode::Exclusive);
    tellIndexNotice(t, c.err);
    for (const engine::TagInfo& tag : t.regenerateIndexes())
        c.err << "Dropped the index tag " << tag.name << " (" << tag.expression << tagOptions(tag)
              << "): this program cannot build it.\n";
    if (collection::restoreSortTag(t, sortExpression))
        c.out << "Made the tag NEWINDEX again from the sort order.\n";
    c.out << "Rebuilt " << t.tags().size() << " index tags.\n";
    return kOk;
}

int doIndex(Context& c) {
    engine::Table t;
    t.open(absolute(c.args[1]), engine::OpenMode::Exclusive);
    t.deleteIndexTag(kNewIndex);
    t.addIndexTag(kNewIndex, c.args[2]);
    c.out << "Tag NEWINDEX built on " << c.args[2] << ".\n";
    return kOk;
}

// A sort level: a field number 1..25 or 0, nothing else.
bool parseLevel(const std::string& text, int& level) {
    bool ok = false;
    level = QString::fromStdString(text).toInt(&ok);
    return ok && level >= 0 && level <= collection::kFieldCount;
}

int doSort(Context& c) {
    collection::SortLevels chosen{};
    for (std::size_t i = 2; i < c.args.size(); ++i) {
        if (!parseLevel(c.args[i], chosen[i - 2])) {
            c.err << "Not a sort level (0-25): " << c.args[i] << "\n";
            return kFail;
        }
    }
    const QString path = QString::fromStdString(absolute(c.args[1]));
    if (!collection::CheckDBaseFormat(path, printTo(c.err))) return kFail;
    const QString settingsPath = collection::collectionPaths(path).settingsPath;
    collection::SortLevels levels = collection::readCollection(settingsPath).sortLevels;
    collection::SortOrderHooks hooks;
    hooks.writeSettings = [&] { collection::writeSortLevels(settingsPath, levels); };
    hooks.tell = printTo(c.err);
    engine::Table t;
    if (collection::applySortOrder(t, path, levels, chosen, hooks) !=
        collection::SortOrderResult::Applied)
        return kFail;
    const QString expression = collection::BuildSortString(levels);
    if (expression.isEmpty())
        c.out << "Sort order: record order.\n";
    else
        c.out << "Sort order: " << expression.toStdString() << "\n";
    return kOk;
}

int fieldArgument(const std::string& text) {
    bool ok = false;
    const int number = QString::fromStdString(text).toInt(&ok);
    if (ok) return number >= 1 && number <= collection::kFieldCount ? number : 0;
    return collection::schemaFieldNumber(text);
}

int doReplace(Context& c) {
    const int field = fieldArgument(c.args[2]);
    if (field == 0) {
        c.err << "Not a field (1-25 or a dBase field name): " << c.args[2] << "\n";
        return kFail;
    }
    const QString path = QString::fromStdString(absolute(c.args[1]));
    if (!collection::CheckDBaseFormat(path, printTo(c.err))) return kFail;
    // Dates are read in the date format the program is set to.
    const collection::GlobalSettings global = collection::readGlobal(QString());
    const collection::DateFormat dates{
        collection::DateFormat::isValidType(global.misc.dateFormat) ? global.misc.dateFormat : 1,
        global.misc.dateLeadingZeros};
    const editing::ReplaceRequest request{field, QString::fromStdString(c.args[3]),
                                          QString::fromStdString(c.args[4])};
    if (const auto refusal = editing::validateReplace(request, dates)) {
        c.err << "Error: " << refusal->message.toStdString() << "\n";
        return kFail;
    }
    // The window's entry box takes no more characters than the field holds; the table
    // would cut a longer text without a word.
    const collection::SchemaField& schema = collection::schemaField(field);
    const QString replacement = request.replaceText.trimmed();
    if (editing::fieldClassOf(field) == editing::FieldClass::Text &&
        replacement.size() > schema.length) {
        c.err << "Error: The replacement \"" << replacement.toStdString()
              << "\" is longer than the " << schema.length << " characters the field "
              << schema.label << " holds.\n";
        return kFail;
    }
    const QString settingsPath = collection::collectionPaths(path).settingsPath;
    const QString sort =
        collection::BuildSortString(collection::readCollection(settingsPath).sortLevels);
    editing::ReplaceHooks hooks;
    hooks.tell = printTo(c.err);
    engine::Table t;
    editing::SearchAndReplaceRun run(t, path, sort, dates, hooks);
    const editing::ReplaceResult result = run.run(request);
    if (result == editing::ReplaceResult::InUse) return kFail;
    c.out << "Processed: " << run.counters().processed << "\nFound: " << run.counters().found
          << "\nChanged: " << run.counters().changed << "\n";
    return result == editing::ReplaceResult::Done ? kOk : kFail;
}

int doBackup(Context& c) { return backupTable(c.args[1], c.args[2], c.out, c.err); }
int doRestore(Context& c) { return restoreTable(c.args[1], c.args[2], c.out, c.err); }

struct Verb {
    std::size_t minArgs, maxArgs;
    std::function<int(Context&)> run;
};

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    static const std::map<std::string, Verb> verbs = {
        {"create", {2, 4, doCreate}}, {"check", {2, 2, doCheck}},
        {"recall", {3, 100000, [](Context& c) { return runRecall(c.args, c.out, c.err); }}},
        {"info", {2, 2, doInfo}},     {"dump", {2, 4, doDump}},
        {"pack", {2, 2, doPack}},     {"reindex", {2, 2, doReindex}},
        {"index", {3, 3, doIndex}},   {"sort", {3, 6, doSort}},
        {"search", {3, 1000, doSearch}},
        {"report", {3, 1000, [](Context& c) { return runReport(c.args, c.out, c.err); }}},
        {"album", {4, 1000, [](Context& c) { return runAlbum(c.args, c.out, c.err); }}},
        {"replace", {5, 5, doReplace}},
        {"backup", {3, 3, doBackup}}, {"restore", {3, 3, doRestore}},
        {"import", {4, 64, [](Context& c) { return runImport(c.args, c.out, c.err); }}},
        {"export", {4, 64, [](Context& c) { return runExport(c.args, c.out, c.err); }}},
        {"picture", {4, 1000, [](Context& c) { return runPicture(c.args, c.out, c.err); }}},
        {"stats", {2, 1000, [](Context& c) { return runStats(c.args, c.out, c.err); }}},
    };
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        (args.empty() ? err : out) << kUsage;
        return args.empty() ? kFail : kOk;
    }
    auto it = verbs.find(args[0]);
    if (it == verbs.end() || args.size() < it->second.minArgs ||
        args.size() > it->second.maxArgs) {
        err << kUsage;
        return kFail;
    }
    // Arguments reach files through Qt's strings, which would turn bytes that are not UTF-8
    // into U+FFFD and so name another file: such names are refused, never changed.
    for (const std::string& arg : args) {
        if (interchange::isValidUtf8(arg.data(), arg.size())) continue;
        err << "Error: \"" << escapedBytes(arg)
            << "\" is not valid UTF-8. File names are kept in UTF-8: rename the file and try "
               "again.\n";
        return kFail;
    }
    Context c{args, out, err};
    try {
        return it->second.run(c);
    } catch (const engine::EngineError& e) {
        err << "Error: " << e.what() << "\n";
        return kFail;
    }
}

}  // namespace cli
