// Test program set-up shared by every test of the reports layer: one QApplication for the whole
// run (fonts, painting and the windows need it; ctest sets the offscreen platform), and a
// temporary configuration folder and program directory, so that no test can read or write the
// user's own files.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <memory>

namespace {

class ReportsTestEnvironment : public ::testing::Environment {
  public:
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
    char name_[24] = "tess_reports_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<QApplication> app_;
};

const auto* const kRegistered = ::testing::AddGlobalTestEnvironment(new ReportsTestEnvironment);

}  // namespace
