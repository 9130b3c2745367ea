// Test program set-up shared by the window layers' test programs: one QApplication for the whole
// run (fonts, painting and the windows need it; ctest sets the offscreen platform, and so does
// this when nothing did), and a temporary configuration folder and program directory, so that
// no test can read or write the user's own files.
//
// Tests that need their own program directory point TESSELLON_PROGRAM_DIR elsewhere and put it
// back; the value set here is the fallback. Register one per program with
// TESSELLON_ISOLATED_QT_ENVIRONMENT("program name").
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <memory>

namespace testing_support {

class IsolatedQtEnvironment : public ::testing::Environment {
  public:
    explicit IsolatedQtEnvironment(const char* programName) {
        qstrncpy(name_, programName, sizeof name_);
    }

    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        dir_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(dir_->isValid());
        const QString config = dir_->filePath(QStringLiteral("config"));
        const QString program = dir_->filePath(QStringLiteral("program"));
        QDir().mkpath(config);
        QDir().mkpath(program);
        qputenv("XDG_CONFIG_HOME", config.toUtf8());
        qputenv("TESSELLON_PROGRAM_DIR", program.toUtf8());
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override {
        app_.reset();
        dir_.reset();
    }

  private:
    int argc_ = 1;
    char name_[32] = {};
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<QApplication> app_;
};

}  // namespace testing_support

#define TESSELLON_ISOLATED_QT_ENVIRONMENT(programName)                              \
    namespace {                                                                     \
    const auto* const kIsolatedQtEnvironment = ::testing::AddGlobalTestEnvironment( \
        new ::testing_support::IsolatedQtEnvironment(programName));                 \
    }
