// The recent-collection list: the five collections used before the current one, newest first.
//
// Plain data, owned by whoever holds the global settings (slot i is "Last File i+1" of the
// global group). `DoLastFiles` is the one change made to the list, after every switch of
// collection; `recentMenuItems` says what the File menu shows for it. Nothing here can fail.
#pragma once

#include <QString>
#include <array>

#include "collection/global_settings.h"

namespace collection {

using RecentFiles = std::array<QString, kRecentFileCount>;

// After leaving `previous` for `current`: `current` leaves the list when it is in it (first
// exact, case-sensitive match; later slots move up), every slot moves down one (the fifth is
// dropped) and `previous` takes slot 1. Re-opening the current collection over itself
// therefore puts its own path into slot 1.
void DoLastFiles(RecentFiles& recent, const QString& previous, const QString& current);

struct RecentMenuItem {
    QString caption;  // "&k" + three blanks + the full path, its own "&"s doubled
    bool visible = false;
};

struct RecentMenu {
    bool separatorVisible = false;  // false when every slot is empty
    std::array<RecentMenuItem, kRecentFileCount> items;
};

RecentMenu recentMenuItems(const RecentFiles& recent);

}  // namespace collection
