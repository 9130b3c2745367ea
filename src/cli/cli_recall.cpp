#include "cli/cli_recall.h"

#include <charconv>

#include "cli/cli_text.h"
#include "collection/deleted_records.h"
#include "engine/table.h"

namespace cli {

int runRecall(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    engine::Table table;
    table.open(absolute(args[1]), engine::OpenMode::Shared);
    int recalled = 0;
    bool failed = false;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& text = args[i];
        std::uint32_t recno = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), recno);
        if (ec != std::errc() || end != text.data() + text.size() || recno == 0) {
            err << "Error: \"" << text << "\" is not a record number.\n";
            failed = true;
        } else if (!collection::recallStamp(table, recno)) {
            err << "Error: record " << recno << " is not a deleted record of the collection.\n";
            failed = true;
        } else {
            ++recalled;
        }
    }
    out << "Recalled: " << recalled << "\n";
    return failed ? 2 : 0;
}

int dumpDeleted(const std::string& path, std::ostream& out, std::ostream&) {
    engine::Table table;
    table.open(absolute(path), engine::OpenMode::ReadOnly);
    const int fields = table.fieldCount();
    std::string line;
    for (const collection::DeletedStamp& stamp : collection::deletedStamps(table)) {
        const engine::RecordView record = table.record(stamp.recno);
        line = std::to_string(stamp.recno);
        for (int i = 0; i < fields; ++i) line += ',' + quoted(record.text(i));
        out << line << '\n';
    }
    return 0;
}

}  // namespace cli
