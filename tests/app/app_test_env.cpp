#include "app_test_env.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QMenuBar>

#include "collection/collection_file.h"
#include "collection/date_format.h"
#include "collection/profile_file.h"
#include "collection/settings_paths.h"
#include "engine/table.h"

namespace app::testing {

void AppTest::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    QDir().mkpath(programDir());
    QDir().mkpath(path(QStringLiteral("config/tessellon")));
    qputenv("TESSELLON_PROGRAM_DIR", programDir().toUtf8());
    qputenv("XDG_CONFIG_HOME", path(QStringLiteral("config")).toUtf8());
    collection::applyDateFormat(1, false);
    ui::setPlatform(&platform_);
}

void AppTest::TearDown() {
    main_.reset();
    ui::setPlatform(nullptr);
    qunsetenv("TESSELLON_PROGRAM_DIR");
    qunsetenv("XDG_CONFIG_HOME");
}

void AppTest::setGlobal(const QString& section, const QString& key, const QString& value) {
    collection::ProfileFile file(collection::globalSettingsPath());
    file.write(section, key, value);
    ASSERT_TRUE(file.save());
}

void AppTest::setCollectionKey(const QString& dbfPath, const QString& section, const QString& key,
                               const QString& value) {
    QString base = dbfPath;
    base.chop(4);
    collection::ProfileFile file(base + QStringLiteral(".INI"));
    file.write(section, key, value);
    ASSERT_TRUE(file.save());
}

void AppTest::makeCollection(const QString& dbfPath, const QStringList& catalogues) {
    ASSERT_TRUE(collection::MakeNewDB(dbfPath, {}));
    engine::Table table;
    table.open(dbfPath.toStdString(), engine::OpenMode::Exclusive);
    for (const QString& catalogue : catalogues) {
        table.append();
        table.setText("Catalog", catalogue.toStdString());
        table.setText("Country", catalogue.toStdString());
        table.post();
    }
}

TMain& AppTest::start(const QStringList& arguments) {
    main_ = std::make_unique<TMain>(arguments);
    return *main_;
}

void AppTest::trigger(const QString& objectName) {
    // Menu items are looked for in the main window's own menu bar: the record editor, a child
    // window, has items of the same names.
    if (auto* item = main_->menuBar()->findChild<QAction*>(objectName)) {
        item->trigger();
        return;
    }
    auto* button = main_->findChild<QAbstractButton*>(objectName);
    ASSERT_NE(button, nullptr) << objectName.toStdString();
    button->click();
}

}  // namespace app::testing
