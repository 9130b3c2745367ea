#include "reports/page_model.h"

namespace reports {

QString substituteFamily(const QString& family) {
    struct Twin {
        const char* name;
        const char* twin;
    };
    static const Twin kTwins[] = {
        {"Arial", "Liberation Sans"},
        {"Helvetica", "Liberation Sans"},
        {"Courier New", "Liberation Mono"},
        {"Courier", "Liberation Mono"},
        {"Times New Roman", "Liberation Serif"},
        {"Times", "Liberation Serif"},
    };
    for (const Twin& t : kTwins)
        if (family.compare(QLatin1String(t.name), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(t.twin);
    return family.isEmpty() ? QStringLiteral("Liberation Sans") : family;
}

QFont resolvedFont(const PageFont& font) {
    QFont f(substituteFamily(font.family));
    f.setPointSize(font.points);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeOut);
    // Unhinted outlines scale linearly, so a page measured at one resolution draws the same at
    // any other.
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferOutline);
    return f;
}

}  // namespace reports
