#include "cli/cli_pack.h"

#include <QFileInfo>
#include <QString>

#include "collection/table_maintenance.h"
#include "engine/table.h"
#include "pictures/picture_store.h"

namespace cli {

int runPack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    engine::Table t;
    t.open(QFileInfo(QString::fromStdString(args[1])).absoluteFilePath().toStdString(),
           engine::OpenMode::Exclusive);
    if (!t.indexNotice().empty()) err << "Notice: " << t.indexNotice() << "\n";
    const engine::PackResult r = t.pack();
    // The pictures follow their records to their new numbers.
    try {
        pictures::PictureStore(QString::fromStdString(t.path())).carryAcrossPack(r.newNumbers);
    } catch (const pictures::PictureError& e) {
        err << "Error: " << e.message().toStdString() << "\n";
    }
    out << "Packed: " << r.removed << " deleted records removed, " << r.kept << " kept.\n";
    if (r.recovered) out << collection::packRecoveredMessage(r.recovered).toStdString() << '\n';
    return 0;
}

}  // namespace cli
