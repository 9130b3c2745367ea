#include "interchange/interchange_context.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>

#include "collection/collection_settings.h"

namespace interchange {

QStringList fieldLabels(const collection::CollectionSettings* settings) {
    QStringList labels;
    for (int k = 1; k <= collection::kFieldCount; ++k)
        labels << (settings ? settings->field(k).label
                            : QString::fromLatin1(collection::schemaField(k).label));
    return labels;
}

RunTicker::RunTicker(std::function<void(std::uint64_t)> show) : show_(std::move(show)) {}

void RunTicker::tick(std::uint64_t count) {
    // The clock is read every 64 calls only: a record costs microseconds.
    if (++calls_ % 64 != 1) return;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now < next_) return;
    next_ = now + 100;
    if (show_) show_(count);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool hasExtension(const QString& path, const QString& extension) {
    return path.right(extension.size()).toUpper() == extension.toUpper();
}

}  // namespace interchange
