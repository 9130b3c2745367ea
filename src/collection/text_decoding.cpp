#include "collection/text_decoding.h"

#include <QStringDecoder>
#include <array>

namespace collection {

namespace {

// Windows-1252 characters of the bytes 0x80..0x9F; the five unassigned bytes
// keep their C1 control code, as the Windows conversion does.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decodeCp1252(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text.append(b >= 0x80 && b < 0xA0 ? QChar(kCp1252High[b - 0x80]) : QChar(b));
    }
    return text;
}

}  // namespace

QString decodeTextFile(const QByteArray& bytes) {
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    return decodeCp1252(bytes);
}

QString cutToChars(const QString& text, int maxChars) {
    if (maxChars < 0 || text.size() <= maxChars) return text;
    qsizetype cut = maxChars;
    if (cut > 0 && text.at(cut - 1).isHighSurrogate()) --cut;
    return text.left(cut);
}

}  // namespace collection
