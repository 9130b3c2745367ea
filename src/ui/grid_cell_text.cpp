#include "ui/grid_cell_text.h"

#include <QDate>

#include "engine/error.h"
#include "engine/table.h"

namespace ui {

namespace {

QString fromUtf8(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

std::optional<double> plainNumber(const QString& text) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

// YYYYMMDD, the form in which the table stores a date.
std::optional<engine::Date> storedDate(const QString& text) {
    const QDate d = QDate::fromString(text, QStringLiteral("yyyyMMdd"));
    if (!d.isValid()) return std::nullopt;
    return engine::Date{d.year(), d.month(), d.day()};
}

[[noreturn]] void notA(const QString& what, const QString& text) {
    throw engine::EngineError(
        QStringLiteral("\"%1\" is not a valid %2.").arg(text, what).toStdString());
}

}  // namespace

QString cellText(const engine::RecordView& record, int field, collection::FieldKind kind,
                 const GridFormatters& formatters) {
    switch (kind) {
        case collection::FieldKind::Integer:
            if (const auto v = record.integer(field)) return QString::number(*v);
            break;
        case collection::FieldKind::Float:
            if (!formatters.number) break;
            if (const auto v = record.number(field)) return formatters.number(*v);
            return QString();
        case collection::FieldKind::Date: {
            if (!formatters.date) break;
            const engine::Date d = record.date(field);
            return d.blank() ? QString() : formatters.date(d);
        }
        case collection::FieldKind::Text:
            break;
    }
    return fromUtf8(record.text(field));
}

void writeCellText(engine::Table& table, int field, collection::FieldKind kind, const QString& text,
                   const GridFormatters& formatters) {
    const QString typed = text.trimmed();
    if (kind != collection::FieldKind::Text && typed.isEmpty()) {
        table.setBlank(field);
        return;
    }
    switch (kind) {
        case collection::FieldKind::Text:
            table.setText(field, text.toStdString());
            return;
        case collection::FieldKind::Integer: {
            bool ok = false;
            const qlonglong v = typed.toLongLong(&ok);
            if (!ok) notA(QStringLiteral("integer value"), typed);
            table.setInteger(field, v);
            return;
        }
        case collection::FieldKind::Float: {
            const auto v =
                formatters.parseNumber ? formatters.parseNumber(typed) : plainNumber(typed);
            if (!v) notA(QStringLiteral("number"), typed);
            table.setNumber(field, *v);
            return;
        }
        case collection::FieldKind::Date: {
            const auto d = formatters.parseDate ? formatters.parseDate(typed) : storedDate(typed);
            if (!d || d->blank()) notA(QStringLiteral("date"), typed);
            table.setDate(field, *d);
            return;
        }
    }
}

bool wantedChecked(const engine::RecordView& record, int field) {
    return record.text(field) == kWantedYes;
}

}  // namespace ui
