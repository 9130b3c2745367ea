#include "ui/unstorable_text.h"

#include <QStringList>
#include <QTextBoundaryFinder>

#include "collection/code_pages.h"

namespace ui {

QString unstorableCharacters(const QString& text, engine::CodePage cp) {
    const QString lost =
        QString::fromStdString(engine::unencodableCharacters(text.toStdString(), cp));
    // One character as the reader sees it may be a letter with its combining accents.
    QStringList characters;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, lost);
    for (qsizetype start = 0, end = finder.toNextBoundary(); end >= 0;
         start = end, end = finder.toNextBoundary())
        characters.append(lost.mid(start, end - start));
    return characters.join(u' ');
}

QString unstorableTextMessage(const QString& fieldLabel, const QString& characters,
                              engine::CodePage cp) {
    return QStringLiteral(
               "\"%1\" contains characters this collection's code page, %3, cannot "
               "store: %2.  Please correct.")
        .arg(fieldLabel, characters, collection::codePageName(cp));
}

}  // namespace ui
