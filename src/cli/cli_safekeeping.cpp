#include "cli/cli_safekeeping.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include "safekeeping/safekeeping.h"

namespace cli {

namespace {

// The command line has no open table, no search and no windows: the host only names the files.
class CliHost : public safekeeping::SafekeepingHost {
  public:
    CliHost(QString collection, QString programDir)
        : collection_(std::move(collection)), programDir_(std::move(programDir)) {}

    QString currentCollection() const override { return collection_; }
    QString programDirectory() const override { return programDir_; }
    bool searchActive() const override { return false; }
    void endSearch() override {}
    void resumeSearch() override {}
    void closeTable() override {}
    void reopenTable() override {}
    void writeDataLists() override {}
    void reloadDataLists() override {}
    void writeCollectionSettings() override {}
    void reloadCollectionSettings() override {}
    void makeCurrent(const QString& tablePath) override { collection_ = tablePath; }
    void reportsRestored() override {}
    qint64 freeBytes(const QString& path) override {
        QString folder = QFileInfo(path).isDir() ? path : QFileInfo(path).absolutePath();
        const QStorageInfo storage(folder);
        return storage.isValid() ? storage.bytesAvailable() : -1;
    }
    void setBusy(bool) override {}

  private:
    QString collection_;
    QString programDir_;
};

safekeeping::SafekeepingSink printer(std::ostream& out, std::ostream& err) {
    return [&out, &err](const QString& title, const QString& text) {
        std::ostream& to = title == QLatin1String("Notice") ? out : err;
        to << title.toStdString() << ": " << text.toStdString() << "\n";
    };
}

QString absolute(const std::string& path) {
    return QDir::cleanPath(QFileInfo(QString::fromStdString(path)).absoluteFilePath());
}

}  // namespace

int backupTable(const std::string& table, const std::string& folder, std::ostream& out,
                std::ostream& err) {
    const QString path = absolute(table);
    if (!QFileInfo(absolute(folder)).isDir()) {
        err << "Error: " << folder << " is not a folder.\n";
        return 2;
    }
    CliHost host(path, QFileInfo(path).absolutePath());
    safekeeping::Safekeeping run(host, printer(out, err));
    return run.backup(safekeeping::SafekeepingGroup::Table, absolute(folder)) ? 0 : 2;
}

int restoreTable(const std::string& backup, const std::string& programDir, std::ostream& out,
                 std::ostream& err) {
    const QString source = absolute(backup);
    const QString folder = absolute(programDir);
    if (!QFileInfo(folder).isDir()) {
        err << "Error: " << programDir << " is not a folder.\n";
        return 2;
    }
    CliHost host(folder + u'/' + QFileInfo(source).fileName(), folder);
    safekeeping::Safekeeping run(host, printer(out, err));
    return run.restore(safekeeping::SafekeepingGroup::Table, source) ? 0 : 2;
}

}  // namespace cli
