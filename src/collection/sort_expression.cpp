#include "collection/sort_expression.h"

#include "collection/stamp_schema.h"

namespace collection {

QString BuildSortString(const std::array<int, 4>& levels) {
    int used = 0;
    for (int level : levels)
        if (level > 0 && level <= kFieldCount) ++used;
    if (used == 0) return QString();
    const int width = 80 / used;
    QString expr;
    for (int level : levels) {
        if (level <= 0 || level > kFieldCount) continue;
        const SchemaField& f = schemaField(level);
        const QString name = QString::fromLatin1(f.name.data(), qsizetype(f.name.size()));
        switch (f.kind) {
            case FieldKind::Text:
                expr += QStringLiteral("Upper(Left(%1,%2))+").arg(name).arg(width);
                break;
            case FieldKind::Integer:
                expr += QStringLiteral("STR(%1,12,0)+").arg(name);
                break;
            case FieldKind::Float:
                expr += QStringLiteral("STR(%1,12,2)+").arg(name);
                break;
            case FieldKind::Date:
                expr += QStringLiteral("DTOS(%1)+").arg(name);
                break;
        }
    }
    expr.chop(1);
    return expr;
}

}  // namespace collection
