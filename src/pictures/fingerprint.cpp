// Fingerprints of stamp records, and the picture formats the store accepts.
#include <QRegularExpression>

#include "engine/table.h"
#include "pictures/picture_store.h"

namespace pictures {

namespace {

// Field positions (0-based) in a stamp collection table.
constexpr int kCatalogueField = 0;
constexpr int kDescriptionField = 1;
constexpr int kCountryField = 2;
constexpr int kYearField = 6;

// FNV-1a over the trimmed, upper-cased UTF-8 text.
std::uint32_t hashPart(const QString& text) {
    const QByteArray bytes = text.trimmed().toUpper().toUtf8();
    std::uint32_t h = 2166136261u;
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 16777619u;
    }
    return h;
}

}  // namespace

int Fingerprint::agreement(const Fingerprint& other) const {
    int n = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) n += parts[i] == other.parts[i] ? 1 : 0;
    return n;
}

QString Fingerprint::toText() const {
    QString out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i) out += QLatin1Char('-');
        out += QStringLiteral("%1").arg(parts[i], 8, 16, QLatin1Char('0'));
    }
    return out;
}

bool Fingerprint::fromText(const QString& text, Fingerprint& out) {
    const QStringList items = text.split(QLatin1Char('-'));
    if (items.size() != 4) return false;
    Fingerprint f;
    for (int i = 0; i < 4; ++i) {
        if (items[i].size() != 8) return false;
        bool ok = false;
        f.parts[static_cast<std::size_t>(i)] = items[i].toUInt(&ok, 16);
        if (!ok) return false;
    }
    out = f;
    return true;
}

Fingerprint fingerprintOf(const QString& catalogue, const QString& country, const QString& year,
                          const QString& description) {
    Fingerprint f;
    f.parts = {hashPart(catalogue), hashPart(country), hashPart(year), hashPart(description)};
    return f;
}

Fingerprint fingerprintOf(const engine::RecordView& record) {
    auto text = [&record](int field) { return QString::fromStdString(record.text(field)); };
    return fingerprintOf(text(kCatalogueField), text(kCountryField), text(kYearField),
                         text(kDescriptionField));
}

std::vector<std::uint32_t> recordsWithFingerprint(const engine::Table& table,
                                                  const Fingerprint& fingerprint) {
    std::vector<std::uint32_t> out;
    const std::uint32_t count = table.physicalCount();
    for (std::uint32_t r = 1; r <= count; ++r)
        if (fingerprintOf(table.record(r)) == fingerprint) out.push_back(r);
    return out;
}

bool isAcceptedFormat(const QByteArray& format) {
    const QByteArray f = format.toLower();
    return f == "jpeg" || f == "jpg" || f == "png" || f == "tiff" || f == "tif" || f == "webp";
}

QString pictureFileFilter() {
    return QStringLiteral(
        "Pictures (*.jpg *.jpeg *.png *.tif *.tiff *.webp);;All Files (*)");
}

}  // namespace pictures
