#include "collection/text_decoding.h"

#include <QStringDecoder>

#include "engine/codepage.h"

namespace collection {

QString decodeTextFile(const QByteArray& bytes) {
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    const std::string utf8Text =
        engine::toUtf8(std::string_view(bytes.constData(), bytes.size()), engine::CodePage::Cp1252);
    return QString::fromStdString(utf8Text);
}

QString cutToChars(const QString& text, int maxChars) {
    if (maxChars < 0 || text.size() <= maxChars) return text;
    qsizetype cut = maxChars;
    if (cut > 0 && text.at(cut - 1).isHighSurrogate()) --cut;
    return text.left(cut);
}

}  // namespace collection
