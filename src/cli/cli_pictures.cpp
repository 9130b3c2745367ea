#include "cli/cli_pictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "collection/collection_file.h"
#include "engine/table.h"
#include "pictures/picture_store.h"

namespace cli {

namespace {

constexpr int kOk = 0;
constexpr int kFail = 2;

std::string shown(const QString& path) { return QDir::toNativeSeparators(path).toStdString(); }

}  // namespace

int runPicture(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() < 4) {
        err << "usage: tessellon-cli picture FILE.DBF RECNO (add PATH... | list | remove N | "
               "export DIR)\n";
        return kFail;
    }
    const QString table = QFileInfo(QString::fromStdString(args[1])).absoluteFilePath();
    const std::string& action = args[3];
    const auto tell = [&err](const QString& title, const QString& text) {
        err << title.toStdString() << ": " << text.toStdString() << "\n";
    };
    if (!collection::CheckDBaseFormat(table, tell)) return kFail;
    engine::Table t;
    t.open(table.toStdString(), engine::OpenMode::ReadOnly);
    bool ok = false;
    const std::uint32_t recno = QString::fromStdString(args[2]).toUInt(&ok);
    if (!ok || recno == 0 || recno > t.physicalCount()) {
        err << "No record " << args[2] << ": the collection has records 1 to "
            << t.physicalCount() << ".\n";
        return kFail;
    }
    pictures::PictureStore store(table);
    const std::vector<pictures::Picture> list = store.pictures(recno);
    try {
        if (action == "add" && args.size() >= 5) {
            QStringList files;
            for (std::size_t i = 4; i < args.size(); ++i)
                files << QFileInfo(QString::fromStdString(args[i])).absoluteFilePath();
            const auto added = store.add(recno, files, pictures::fingerprintOf(t.record(recno)));
            out << "Added " << added.size() << " of " << files.size() << " pictures to record "
                << recno << "; it has " << store.count(recno) << ".\n";
            return kOk;
        }
        if (action == "list" && args.size() == 4) {
            const pictures::Fingerprint now = pictures::fingerprintOf(t.record(recno));
            for (const pictures::Picture& p : list) {
                out << p.position + 1 << '\t' << p.originalName.toStdString() << '\t'
                    << shown(p.path);
                if (p.fingerprint.agreement(now) < pictures::kFingerprintKeeps)
                    out << "\t(added to a record that no longer matches this one)";
                out << '\n';
            }
            return kOk;
        }
        if (action == "remove" && args.size() == 5) {
            const int n = QString::fromStdString(args[4]).toInt(&ok);
            if (!ok || n < 1 || n > static_cast<int>(list.size())) {
                err << "No picture " << args[4] << ": record " << recno << " has "
                    << list.size() << ".\n";
                return kFail;
            }
            store.remove(recno, n - 1);
            out << "Removed picture " << n << " of record " << recno << ".\n";
            return kOk;
        }
        if (action == "export" && args.size() == 5) {
            const QDir target(QString::fromStdString(args[4]));
            if (!QDir().mkpath(target.absolutePath())) {
                err << "The folder " << shown(target.absolutePath()) << " cannot be created.\n";
                return kFail;
            }
            for (const pictures::Picture& p : list) {
                const QString name = target.filePath(QStringLiteral("%1-%2").arg(p.position + 1).arg(
                    QFileInfo(p.originalName).fileName()));
                QFile::remove(name);
                if (!QFile::copy(p.path, name)) {
                    err << "Could not copy " << shown(p.path) << " to " << shown(name) << ".\n";
                    return kFail;
                }
            }
            out << "Exported " << list.size() << " pictures of record " << recno << ".\n";
            return kOk;
        }
    } catch (const pictures::PictureError& e) {
        err << "Error: " << e.message().toStdString() << "\n";
        return kFail;
    }
    err << "usage: tessellon-cli picture FILE.DBF RECNO (add PATH... | list | remove N | "
           "export DIR)\n";
    return kFail;
}

}  // namespace cli
