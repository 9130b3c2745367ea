#include "searching/search_replace.h"

#include <QDate>
#include <QRegularExpression>
#include <cmath>
#include <exception>

#include "collection/date_format.h"
#include "collection/sort_expression.h"
#include "collection/sort_order.h"
#include "collection/stamp_schema.h"
#include "collection/table_maintenance.h"
#include "engine/codepage.h"
#include "engine/table.h"

namespace editing {

namespace {

// A decimal number with "." as the decimal point, nothing else around it.
std::optional<double> readNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
    if (!number.match(text).hasMatch()) return std::nullopt;
    const double value = text.toDouble();
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

// A date box left as its mask shows it reads "/  /" once trimmed (with any separator).
bool isUntouchedMask(const QString& text) {
    return text == QLatin1String("/  /") || text == QLatin1String("-  -") ||
           text == QLatin1String(".  .");
}

std::optional<engine::Date> readDate(const QString& text, const collection::DateFormat& dates) {
    if (text.isEmpty() || isUntouchedMask(text)) return std::nullopt;
    const std::optional<QDate> date = dates.parse(text);
    if (!date || !date->isValid()) return std::nullopt;
    return engine::Date{date->year(), date->month(), date->day()};
}

// Text fields: the search text in the table's code page, in capitals, against the field's bytes
// without their trailing blanks.
class TextMatcher {
  public:
    TextMatcher(const QString& search, engine::CodePage cp) : cp_(cp) {
        const std::string utf8 = search.toStdString();
        bytes_ = engine::fromUtf8(utf8, cp);
        // A character the code page cannot hold can match no stored text.
        possible_ = engine::toUtf8(bytes_, cp) == utf8;
        engine::upperInPlace(bytes_.data(), bytes_.size(), cp);
    }
    bool matches(std::string_view raw) const {
        if (!possible_) return false;
        std::size_t n = raw.size();
        while (n > 0 && (raw[n - 1] == ' ' || raw[n - 1] == '\0')) --n;
        if (n != bytes_.size()) return false;
        for (std::size_t i = 0; i < n; ++i)
            if (engine::upperByte(static_cast<unsigned char>(raw[i]), cp_) !=
                static_cast<unsigned char>(bytes_[i]))
                return false;
        return true;
    }

  private:
    engine::CodePage cp_;
    std::string bytes_;
    bool possible_ = true;
};

// True when the table's sort tag is built on `expression` (nothing to build when it is empty).
bool hasSortTag(const engine::Table& table, const QString& expression) {
    if (expression.isEmpty()) return true;
    for (const engine::TagInfo& tag : table.tags())
        if (QString::fromStdString(tag.name).compare(collection::kSortTagName,
                                                     Qt::CaseInsensitive) == 0)
            return QString::fromStdString(tag.expression).compare(expression,
                                                                  Qt::CaseInsensitive) == 0;
    return false;
}

std::string tagFor(const QString& expression) {
    return expression.isEmpty() ? std::string() : collection::kSortTagName.toStdString();
}

}  // namespace

FieldClass fieldClassOf(int fieldNumber) {
    switch (collection::schemaField(fieldNumber).kind) {
        case collection::FieldKind::Text:
            return FieldClass::Text;
        case collection::FieldKind::Date:
            return FieldClass::Date;
        default:
            return FieldClass::Numeric;
    }
}

QString replaceEditMask(FieldClass fieldClass) {
    switch (fieldClass) {
        case FieldClass::Date:
            return QStringLiteral("99/99/0000;1");
        case FieldClass::Numeric:
            return QStringLiteral("ccccccccc;1");
        default:
            return QString();
    }
}

QString replaceFailedMessage(int changed) {
    return kReplaceFailed + QStringLiteral("  Records changed before the error: %1.").arg(changed);
}

std::optional<ReplaceRefusal> validateReplace(const ReplaceRequest& request,
                                              const collection::DateFormat& dates) {
    if (request.field < 1 || request.field > collection::kFieldCount)
        return ReplaceRefusal{kNoFieldSelected, ReplaceEntry::FieldList};
    const QString search = request.searchText.trimmed();
    const QString replacement = request.replaceText.trimmed();
    switch (fieldClassOf(request.field)) {
        case FieldClass::Numeric:
            if (!readNumber(search)) return ReplaceRefusal{kBadSearchValue, ReplaceEntry::Search};
            if (!readNumber(replacement))
                return ReplaceRefusal{kBadReplaceValue, ReplaceEntry::Replace};
            break;
        case FieldClass::Date:
            if (!readDate(search, dates))
                return ReplaceRefusal{kBadSearchDate, ReplaceEntry::Search};
            if (!readDate(replacement, dates))
                return ReplaceRefusal{kBadReplaceDate, ReplaceEntry::Replace};
            break;
        case FieldClass::Text:
            break;
    }
    return std::nullopt;
}

SearchAndReplaceRun::SearchAndReplaceRun(engine::Table& table, QString collectionPath,
                                         QString sortExpression,
                                         const collection::DateFormat& dates, ReplaceHooks hooks)
    : table_(table),
      path_(std::move(collectionPath)),
      sortExpression_(std::move(sortExpression)),
      dates_(dates),
      hooks_(std::move(hooks)) {}

void SearchAndReplaceRun::reapply() {
    if (hooks_.reapplyViewer) hooks_.reapplyViewer();
}

ReplaceResult SearchAndReplaceRun::run(const ReplaceRequest& request) {
    const std::string selected = table_.isOpen() ? table_.selectedIndex() : std::string();
    table_.close();
    if (collection::DBaseInUse(path_)) {
        collection::reopenShared(table_, path_, selected);
        reapply();
        if (hooks_.tell) hooks_.tell(QStringLiteral("Error"), kReplaceInUse);
        return ReplaceResult::InUse;
    }
    counters_ = {};
    bool searchSuspended = false;
    bool failed = false;
    try {
        table_.open(path_.toStdString(), engine::OpenMode::Exclusive);
        table_.selectIndex({});
        reapply();
        searchSuspended = hooks_.suspendSearch && hooks_.suspendSearch();
        // The sort tag stays: the keys of the changed records are replaced in it when the run
        // ends, and a process killed before leaves the tag, marked for rebuilding.
        table_.beginEditRun();
        scan(request);
        table_.endEditRun();
    } catch (const std::exception&) {
        failed = true;
        if (table_.isOpen() && table_.state() != engine::EditState::Browse) {
            try {
                table_.cancel();
            } catch (const std::exception&) {
                // Nothing was posted; the re-open below drops the edit buffer anyway.
            }
        }
    }
    if (searchSuspended && hooks_.resumeSearch) hooks_.resumeSearch();
    if (table_.isOpen() && table_.mode() == engine::OpenMode::Exclusive) {
        try {
            table_.endEditRun();
            if (failed || !hasSortTag(table_, sortExpression_))
                collection::buildSortTag(table_, sortExpression_);
        } catch (const std::exception&) {
            // The table is still usable in record order; the tag is rebuilt at the next opening.
            failed = true;
        }
    }
    collection::reopenShared(table_, path_, tagFor(sortExpression_));
    reapply();
    if (failed) {
        if (hooks_.tell)
            hooks_.tell(QStringLiteral("Error"), replaceFailedMessage(counters_.changed));
        return ReplaceResult::Failed;
    }
    return ReplaceResult::Done;
}

void SearchAndReplaceRun::scan(const ReplaceRequest& request) {
    const collection::SchemaField& schema = collection::schemaField(request.field);
    const int field = table_.requireField(schema.name);
    const int catalog = table_.requireField(collection::schemaField(1).name);
    const FieldClass fieldClass = fieldClassOf(request.field);
    const QString search = request.searchText.trimmed();
    const QString replacement = request.replaceText.trimmed();
    const std::string replacementUtf8 = replacement.toStdString();
    const TextMatcher text(search, table_.codePage());
    const std::optional<double> number =
        fieldClass == FieldClass::Numeric ? readNumber(search) : std::nullopt;
    const std::optional<engine::Date> date =
        fieldClass == FieldClass::Date ? readDate(search, dates_) : std::nullopt;
    const std::optional<engine::Date> newDate =
        fieldClass == FieldClass::Date ? readDate(replacement, dates_) : std::nullopt;

    auto matches = [&](const engine::RecordView& r) {
        switch (fieldClass) {
            case FieldClass::Text:
                return text.matches(r.raw(field));
            case FieldClass::Numeric: {
                const std::optional<double> value = r.number(field);
                return number && value && *value == *number;
            }
            case FieldClass::Date:
                return date && r.date(field) == *date;
        }
        return false;
    };

    for (table_.first(); !table_.eof(); table_.next()) {
        const engine::RecordView record = table_.current();
        if (matches(record)) {
            const bool change =
                !hooks_.confirm || hooks_.confirm(QString::fromStdString(record.text(catalog)));
            if (change) {
                table_.edit();
                if (fieldClass == FieldClass::Date)
                    table_.setDate(field, *newDate);
                else
                    table_.setText(field, replacementUtf8);
                table_.post();
                ++counters_.changed;
            }
            ++counters_.found;
        }
        ++counters_.processed;
        if (hooks_.progress) hooks_.progress(counters_);
    }
}

}  // namespace editing
