// A record editor on a fresh temporary collection, for the TMyEdit tests.
//
// Each test gets its own program directory (default pick lists) and configuration folder
// (TESSELON.INI), an empty collection made by MakeNewDB and opened shared, the scripted platform,
// the main window's nine in-grid boxes and the settings the main window would own. The editor is
// created on first use so a test can prepare lists and settings before.
#pragma once

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <memory>

#include "collection/collection_file.h"
#include "collection/collection_settings.h"
#include "collection/date_format.h"
#include "collection/global_settings.h"
#include "data_list_test_support.h"
#include "editing/my_edit.h"
#include "engine/table.h"
#include "ui/list_combo_box.h"
#include "ui/list_combo_source.h"
#include "ui/masked_edit.h"
#include "ui/scripted_platform.h"

namespace my_edit_testing {

class MyEditTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(program.valid());
        ASSERT_TRUE(config.isValid());
        previousConfig_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        ui::setPlatform(&platform);
        collection::applyDateFormat(1, false);
        ASSERT_TRUE(collection::MakeNewDB(dbfPath(), [](const QString&, const QString&) {}));
        table.open(dbfPath().toStdString(), engine::OpenMode::Shared);
    }
    void TearDown() override {
        if (editor_ && editor_->isVisible()) editor_->done(0);
        editor_.reset();
        table.close();
        ui::setPlatform(nullptr);
        collection::applyDateFormat(1, false);
        qputenv("XDG_CONFIG_HOME", previousConfig_);
    }

    QString dbfPath() const { return program.path(QStringLiteral("MINE.DBF")); }

    editing::TMyEdit& editor() {
        if (!editor_) {
            editing::MyEditContext context;
            context.table = &table;
            context.editorMode = &mode;
            context.browseMode = browse;
            context.mainBoxes = &mainBoxes;
            context.global = &global;
            context.collection = &settings;
            context.basePath = program.base();
            context.scaleFactor = scale;
            editor_ = std::make_unique<editing::TMyEdit>(context);
        }
        return *editor_;
    }

    // Shows the editor in `editorMode`, as the main window's Add (1), Edit (2) or Copy (3).
    editing::TMyEdit& open(int editorMode) {
        mode = editorMode;
        editor().show();
        return editor();
    }

    QLineEdit* edit(const char* name) { return editor().findChild<QLineEdit*>(name); }
    QComboBox* combo(const char* name) { return editor().findChild<QComboBox*>(name); }
    ui::MaskedEdit* dateBox() { return editor().findChild<ui::MaskedEdit*>("PurchDate"); }
    QCheckBox* wanted() { return editor().findChild<QCheckBox*>("Wanted"); }
    QString label(const char* name) { return editor().findChild<QLabel*>(name)->text(); }
    QString text(const char* name) {
        if (QComboBox* box = combo(name)) return box->currentText();
        if (QString(name) == QStringLiteral("PurchDate")) return dateBox()->maskedText();
        return edit(name)->text();
    }
    void type(const char* name, const QString& value) {
        if (QComboBox* box = combo(name))
            box->setEditText(value);
        else if (QString(name) == QStringLiteral("PurchDate"))
            dateBox()->setMaskedText(value);
        else
            edit(name)->setText(value);
    }
    // Adds one record straight through the engine and makes it current.
    void addRecord(const char* catalog, const char* country = "", int quantity = 1) {
        table.append();
        table.setText("Catalog", catalog);
        table.setText("Country", country);
        table.setInteger(table.requireField("Quantity"), quantity);
        table.post();
    }
    std::string field(const char* name) { return table.text(table.requireField(name)); }

    testing_support::TempProgramDir program;
    QTemporaryDir config;
    ui::ScriptedPlatform platform;
    engine::Table table;
    int mode = 1;
    const double* scale = nullptr;
    bool browse = false;
    QWidget mainWindow;
    ui::ListComboSource mainBoxes{&mainWindow};
    collection::GlobalSettings global;
    collection::CollectionSettings settings;

  private:
    QByteArray previousConfig_;
    std::unique_ptr<editing::TMyEdit> editor_;
};

}  // namespace my_edit_testing
