// A clean installation for each main-window test: its own program directory and configuration
// folder (both temporary), the scripted platform installed, and the date format reset.
//
// Helpers write TESSELON.INI entries and create collections with records before the window
// starts. Nothing touches the user's home.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "app/main_window.h"
#include "ui/scripted_platform.h"

namespace app::testing {

class AppTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    QString programDir() const { return dir_.path() + QStringLiteral("/program"); }
    QString path(const QString& name) const { return dir_.path() + QLatin1Char('/') + name; }
    QString masterPath() const { return programDir() + QStringLiteral("/MASTER.DBF"); }

    // Sets a key of TESSELON.INI before start.
    void setGlobal(const QString& section, const QString& key, const QString& value);
    // Sets a key of a collection's settings file (base path + ".INI").
    void setCollectionKey(const QString& dbfPath, const QString& section, const QString& key,
                          const QString& value);
    // A collection at `dbfPath` holding one record per catalogue text.
    void makeCollection(const QString& dbfPath, const QStringList& catalogues = {});

    // Starts the program with `arguments`.
    TMain& start(const QStringList& arguments = {});
    // Triggers the menu item or clicks the button with this object name.
    void trigger(const QString& objectName);

    ui::ScriptedPlatform platform_;
    std::unique_ptr<TMain> main_;

  private:
    QTemporaryDir dir_;
};

}  // namespace app::testing
