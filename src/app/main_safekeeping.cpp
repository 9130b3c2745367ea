// The main window's side of backup, restore and the conversion of earlier collections: the host
// through which the "Backup" and "Restore" windows reach the current collection, the two
// commands, and the start-up offer to convert S2LOG.DBF and SLOG.DBF.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/main_window.h"
#include "collection/collection_paths.h"
#include "collection/earlier_versions.h"
#include "editing/data_list_set.h"
#include "editing/my_edit.h"
#include "engine/error.h"
#include "engine/table.h"
#include "safekeeping/my_backup.h"
#include "safekeeping/my_restore.h"
#include "safekeeping/staged_table.h"
#include "ui/messages.h"
#include "ui/platform.h"

namespace app {

class MainSafekeepingHost : public safekeeping::SafekeepingHost {
  public:
    explicit MainSafekeepingHost(TMain& main) : main_(main) {}

    QString currentCollection() const override { return main_.currentCollection(); }
    QString programDirectory() const override { return main_.programDirectory(); }
    bool searchActive() const override { return main_.searchActive(); }
    void endSearch() override { main_.DoEndSearch(); }
    void resumeSearch() override { main_.EnableEndSearch(); }
    void closeTable() override { main_.MyTable.close(); }
    void reopenTable() override {
        main_.OpenMyTable();
        main_.SetViewerOptions();
        main_.DisplayCount();
    }
    void writeDataLists() override {
        if (main_.MyEdit) main_.MyEdit->dataLists().SaveAllLists();
    }
    void reloadDataLists() override { main_.loadCollectionLists(false); }
    void writeCollectionSettings() override { main_.writeCollectionSettings(); }
    void reloadCollectionSettings() override {
        main_.readCollectionSettings(main_.collectionSettingsPath());
        main_.BuildSortString();
        main_.SetViewerOptions();
        main_.SetColors();
    }
    // The collection left keeps its settings and lists, written to its own files; the restored
    // collection reads its own, as opening it would, and nothing of the previous one is carried
    // over to be written over them later.
    void makeCurrent(const QString& tablePath) override {
        const QString previous = main_.currentCollection();
        main_.writeCollectionSettings();
        writeDataLists();
        main_.setCollectionPaths(tablePath);
        main_.readCollectionSettings(main_.collectionSettingsPath());
        main_.BuildSortString();
        main_.loadCollectionLists(false);
        main_.SetColors();
        if (previous != tablePath) main_.DoLastFiles(previous, tablePath);
    }
    void reportsRestored() override {}
    qint64 freeBytes(const QString& path) override { return ui::platform().freeDiskSpace(path); }
    void setBusy(bool busy) override { ui::platform().setBusyCursor(busy); }

  private:
    TMain& main_;
};

namespace {

safekeeping::SafekeepingContext safekeepingContext(TMain& main,
                                                   safekeeping::SafekeepingHost& host) {
    safekeeping::SafekeepingContext context;
    context.host = &host;
    context.show = main.showOptions(collection::WindowGroup::Configure);
    context.colors = main.collectionSettings().colorSet(collection::WindowGroup::Configure);
    return context;
}

}  // namespace

void TMain::DoBackup() {
    MainSafekeepingHost host(*this);
    safekeeping::TMyBackup::Execute(safekeepingContext(*this, host), this);
}

void TMain::DoRestore() {
    MainSafekeepingHost host(*this);
    safekeeping::TMyRestore::Execute(safekeepingContext(*this, host), this);
    undo_.clear();  // the restored table is another one
    DisplayCount();
}

// S2LOG.DBF, then SLOG.DBF, in the program directory: each offered when its layout matches. The
// records go into a copy of the collection that replaces it only once every record is posted;
// the old file is deleted after that. A failure (or a kill) leaves the collection and the old
// file as they were, so accepting the offer again converts every record once.
void TMain::CheckForConversion() {
    struct Offer {
        QString file;
        QString question;
        bool (*check)(const QString&);
        std::function<void(const QString&, engine::Table&)> convert;
    };
    const Offer offers[] = {
        {collection::kVersion2File, collection::kConvertV2Question, collection::CheckDBaseFormatV2,
         [this](const QString& path, engine::Table& target) {
             collection::ConvertV2(path, target,
                                   programDir_ + u'/' + collection::kOldSettingsFile);
         }},
        {collection::kVersion1File, collection::kConvertV1Question, collection::CheckDBaseFormatV1,
         [](const QString& path, engine::Table& target) { collection::ConvertV1(path, target); }},
    };
    for (const Offer& offer : offers) {
        const QString path = programDir_ + u'/' + offer.file;
        if (!QFileInfo(path).isFile() || !offer.check(path)) continue;
        if (!ui::askYesNo(this, QStringLiteral("Convert"), offer.question)) continue;
        MyTable.close();
        try {
            safekeeping::addRecordsAllOrNothing(
                currentCollection(), sortExpression_,
                [&](engine::Table& target) { offer.convert(path, target); });
            QFile::remove(path);
        } catch (const engine::EngineError& e) {
            ui::showError(this, QString::fromUtf8(e.what()));
        }
        OpenMyTable();
    }
}

}  // namespace app
