#include "ui/edit_mask.h"

#include <QStringList>

namespace ui {

namespace {

// Mask characters of input positions and their Qt equivalents. Every position becomes an
// optional one in Qt: Qt cannot hold a blank in a required position, and the windows check their
// texts themselves when they read them.
QChar qtInputChar(QChar c) {
    switch (c.unicode()) {
        case 'L':
        case 'l':
            return u'a';
        case 'A':
        case 'a':
            return u'n';
        case 'C':
        case 'c':
            return u'x';
        case '0':
        case '9':
            return u'0';
        case '#':
            return u'#';
        default:
            return QChar();
    }
}

// Characters with a meaning in Qt masks; as literals they need a backslash.
bool isQtMeta(QChar c) {
    static const QString meta = QStringLiteral("AaNnXx90Dd#HhBb><![]{}\\;");
    return meta.contains(c);
}

// Index of the first ';' that is not escaped by '\', or -1.
qsizetype fieldEnd(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'\\')
            ++i;
        else if (text.at(i) == u';')
            return i;
    }
    return -1;
}

void addLiteral(EditMask& mask, QChar c) {
    if (isQtMeta(c)) mask.qtMask += u'\\';
    mask.qtMask += c;
    mask.layout += c;
}

}  // namespace

EditMask translateEditMask(const QString& maskText, QChar dateSeparator, QChar timeSeparator) {
    EditMask mask;
    const qsizetype end = fieldEnd(maskText);
    const QString body = end < 0 ? maskText : maskText.left(end);
    if (end >= 0) {
        const QStringList options = maskText.mid(end + 1).split(u';');
        if (!options.isEmpty() && options.at(0) == QStringLiteral("0")) mask.keepLiterals = false;
        if (options.size() > 1 && !options.at(1).isEmpty()) mask.blank = options.at(1).at(0);
    }
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body.at(i);
        if (c == u'\\') {
            if (i + 1 < body.size()) addLiteral(mask, body.at(++i));
        } else if (c == u'!') {
            // Leading-blank display: no Qt counterpart.
        } else if (c == u'<' && i + 1 < body.size() && body.at(i + 1) == u'>') {
            mask.qtMask += u'!';
            ++i;
        } else if (c == u'>' || c == u'<') {
            mask.qtMask += c;
        } else if (c == u'/') {
            addLiteral(mask, dateSeparator);
        } else if (c == u':') {
            addLiteral(mask, timeSeparator);
        } else if (c == u'_') {
            addLiteral(mask, u' ');
        } else if (const QChar input = qtInputChar(c); !input.isNull()) {
            mask.qtMask += input;
            mask.layout += QChar();
        } else {
            addLiteral(mask, c);
        }
    }
    if (mask.layout.isEmpty()) return EditMask{};
    mask.qtMask += u';';
    mask.qtMask += mask.blank;
    return mask;
}

QString maskedTextFromDisplay(const EditMask& mask, const QString& displayText) {
    if (mask.isEmpty()) return displayText;
    QString text;
    for (int i = 0; i < mask.layout.size(); ++i) {
        if (!mask.isInput(i)) {
            if (mask.keepLiterals) text += mask.layout.at(i);
            continue;
        }
        const QChar c = i < displayText.size() ? displayText.at(i) : mask.blank;
        text += c == mask.blank ? QChar(u' ') : c;
    }
    return text;
}

QString displayFromMaskedText(const EditMask& mask, const QString& text) {
    if (mask.isEmpty()) return text;
    QString display;
    int source = 0;
    for (int i = 0; i < mask.layout.size(); ++i) {
        if (!mask.isInput(i)) {
            display += mask.layout.at(i);
            if (mask.keepLiterals) ++source;  // the value holds the literal here too
            continue;
        }
        const QChar c = source < text.size() ? text.at(source) : QChar(u' ');
        ++source;
        display += c == u' ' ? mask.blank : c;
    }
    return display;
}

}  // namespace ui
