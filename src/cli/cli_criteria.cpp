#include "cli/cli_criteria.h"

#include <QDir>
#include <QFileInfo>

#include "collection/collection_paths.h"
#include "collection/collection_settings.h"
#include "collection/global_settings.h"

namespace cli {

namespace {

const std::string kOr = "--or";

// Field number 1..25 named by `name` (a label first, then a dBase name); 0 when none.
int fieldNamed(const QString& name, const FieldLabels& labels) {
    const QString wanted = name.trimmed();
    if (wanted.isEmpty()) return 0;
    for (int i = 0; i < collection::kFieldCount; ++i) {
        QString label = labels[std::size_t(i)];
        label.replace(u'~', u' ');
        if (label.trimmed().compare(wanted, Qt::CaseInsensitive) == 0) return i + 1;
    }
    return collection::schemaFieldNumber(wanted.toStdString());
}

// Splits FIELD:VALUE at the first colon whose left part names a field.
bool splitCriterion(const QString& arg, const FieldLabels& labels, int& field, QString& value) {
    for (int colon = arg.indexOf(u':'); colon >= 0; colon = arg.indexOf(u':', colon + 1)) {
        field = fieldNamed(arg.left(colon), labels);
        if (field > 0) {
            value = arg.mid(colon + 1);
            return true;
        }
    }
    return false;
}

QString levelError(const collection::LevelResult& result, const std::vector<std::string>& args,
                   const std::vector<std::size_t>& argOf) {
    const auto failed = [&] {
        return QString::fromStdString(args[argOf[std::size_t(result.failedRow)]]);
    };
    switch (result.status) {
        case collection::LevelResult::Invalid:
            return QStringLiteral("Invalid search criterion: %1").arg(failed());
        case collection::LevelResult::TooMany:
            return QStringLiteral("More than %1 search items have been entered.")
                .arg(collection::kMaxSearchCriteria);
        case collection::LevelResult::NoCriteria:
            return QStringLiteral("No search criteria entered in a level.");
        case collection::LevelResult::Added:
            break;
    }
    return {};
}

}  // namespace

CriteriaParse parseCriteria(const std::vector<std::string>& args, const FieldLabels& labels,
                            const collection::DateFormat& dates) {
    CriteriaParse parse;
    if (args.empty()) return parse;
    std::vector<collection::SearchRowInput> rows;
    std::vector<std::size_t> argOf;  // argument index of each row
    auto closeLevel = [&]() -> bool {
        if (parse.criteria.levels() == collection::kMaxSearchLevels) {
            parse.error = QStringLiteral("More than %1 search levels have been entered.")
                              .arg(collection::kMaxSearchLevels);
            return false;
        }
        const collection::LevelResult result =
            collection::addSearchLevel(parse.criteria, rows, dates);
        parse.error = levelError(result, args, argOf);
        rows.clear();
        argOf.clear();
        return parse.ok();
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == kOr) {
            if (!closeLevel()) break;
            continue;
        }
        collection::SearchRowInput row;
        if (!splitCriterion(QString::fromStdString(args[i]), labels, row.field, row.text)) {
            parse.error =
                QStringLiteral("Not a criterion (FIELD:VALUE with a field label or name): %1")
                    .arg(QString::fromStdString(args[i]));
            break;
        }
        if (collection::searchRowKind(row.field) != collection::SearchRowKind::Text)
            row.op = collection::operatorFromText(row.text);
        rows.push_back(row);
        argOf.push_back(i);
    }
    if (parse.ok()) closeLevel();
    if (!parse.ok()) parse.criteria.clear();
    return parse;
}

FieldLabels collectionLabels(const QString& dbfPath) {
    const QString absolute = QFileInfo(dbfPath).absoluteFilePath();
    const collection::CollectionSettings settings =
        collection::readCollection(collection::collectionPaths(absolute).settingsPath);
    FieldLabels labels;
    for (int number = 1; number <= collection::kFieldCount; ++number)
        labels[std::size_t(number - 1)] = settings.field(number).label;
    return labels;
}

collection::DateFormat settingsDateFormat() {
    const collection::GlobalSettings global = collection::readGlobal(QDir::currentPath());
    collection::DateFormat format;
    if (collection::DateFormat::isValidType(global.misc.dateFormat))
        format.type = global.misc.dateFormat;
    format.leadingZeros = global.misc.dateLeadingZeros;
    return format;
}

}  // namespace cli
