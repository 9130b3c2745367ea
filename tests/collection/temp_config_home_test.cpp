// Points the configuration folder and the program directory of the whole test
// program at a temporary folder before any test runs, so that no test in this
// program can read or write the user's own settings.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

namespace {

class TempConfigHome : public ::testing::Environment {
  public:
    void SetUp() override {
        dir_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(dir_->isValid());
        qputenv("XDG_CONFIG_HOME", dir_->filePath(QStringLiteral("config")).toUtf8());
        qputenv("TESSELLON_PROGRAM_DIR", dir_->filePath(QStringLiteral("program")).toUtf8());
    }
    void TearDown() override { dir_.reset(); }

  private:
    std::unique_ptr<QTemporaryDir> dir_;
};

const auto* const kRegistered = ::testing::AddGlobalTestEnvironment(new TempConfigHome);

}  // namespace
