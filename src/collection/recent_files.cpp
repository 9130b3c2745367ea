#include "collection/recent_files.h"

#include <algorithm>

namespace collection {

void DoLastFiles(RecentFiles& recent, const QString& previous, const QString& current) {
    const auto found = std::find(recent.begin(), recent.end(), current);
    if (found != recent.end()) {
        std::move(found + 1, recent.end(), found);
        recent.back().clear();
    }
    std::move_backward(recent.begin(), recent.end() - 1, recent.end());
    recent.front() = previous;
}

RecentMenu recentMenuItems(const RecentFiles& recent) {
    RecentMenu menu;
    menu.separatorVisible =
        std::any_of(recent.begin(), recent.end(), [](const QString& p) { return !p.isEmpty(); });
    for (std::size_t i = 0; i < recent.size(); ++i) {
        // A "&" of the path is shown as itself, not taken as the item's accelerator.
        QString path = recent[i];
        path.replace(u'&', QStringLiteral("&&"));
        menu.items[i].caption = QStringLiteral("&%1   %2").arg(i + 1).arg(path);
        menu.items[i].visible = !recent[i].isEmpty();
    }
    return menu;
}

}  // namespace collection
