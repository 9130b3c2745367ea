// Test helpers for collections shared with another program: a collection filled with records,
// and a second process that holds a table open (shared, or exclusively) until it is let go.
//
// The second process is a fork of the test that opens the table through engine::Table, tells
// the parent over a pipe that it holds the table, and waits for the parent to close the other
// pipe. It first closes every descriptor it inherited, so the locks of the parent's own open
// tables stay the parent's.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QString>
#include <string>
#include <vector>

#include "collection/collection_file.h"
#include "engine/table.h"

namespace collection::testing {

struct StampRow {
    std::string catalog;
    std::string country;
    int year = 0;
    std::string date;  // YYYYMMDD or empty
};

// Creates a collection at `path` holding `rows` in this order.
inline void makeStampCollection(const QString& path, const std::vector<StampRow>& rows) {
    MakeNewDB(path, {});
    engine::Table table;
    table.open(path.toStdString(), engine::OpenMode::Exclusive);
    const int year = table.requireField("Year");
    const int date = table.requireField("Date");
    for (const StampRow& row : rows) {
        table.append();
        table.setText("Catalog", row.catalog);
        table.setText("Country", row.country);
        table.setInteger(year, row.year);
        if (row.date.size() == 8)
            table.setDate(date, engine::Date{std::stoi(row.date.substr(0, 4)),
                                             std::stoi(row.date.substr(4, 2)),
                                             std::stoi(row.date.substr(6, 2))});
        table.post();
    }
}

// The Catalog texts of the visible records in the table's current order.
inline std::vector<std::string> catalogsInOrder(engine::Table& table) {
    std::vector<std::string> out;
    const int catalog = table.requireField("Catalog");
    for (table.first(); !table.eof(); table.next()) out.push_back(table.text(catalog));
    return out;
}

class OtherProcessHolding {
  public:
    explicit OtherProcessHolding(const QString& path,
                                 engine::OpenMode mode = engine::OpenMode::Shared) {
        int ready[2], release[2];
        if (::pipe(ready) != 0 || ::pipe(release) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            for (int fd = 3; fd < 1024; ++fd)
                if (fd != ready[1] && fd != release[0]) ::close(fd);
            char held = 0;
            {
                engine::Table table;
                try {
                    table.open(path.toStdString(), mode);
                    held = 1;
                } catch (...) {
                }
                (void)!::write(ready[1], &held, 1);
                char c;
                (void)!::read(release[0], &c, 1);
            }
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        release_ = release[1];
        char held = 0;
        held_ = pid_ > 0 && ::read(ready[0], &held, 1) == 1 && held == 1;
        ::close(ready[0]);
    }
    ~OtherProcessHolding() { letGo(); }
    OtherProcessHolding(const OtherProcessHolding&) = delete;
    OtherProcessHolding& operator=(const OtherProcessHolding&) = delete;

    bool holds() const { return held_; }
    void letGo() {
        if (release_ >= 0) ::close(release_);
        release_ = -1;
        if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

  private:
    pid_t pid_ = -1;
    int release_ = -1;
    bool held_ = false;
};

}  // namespace collection::testing
