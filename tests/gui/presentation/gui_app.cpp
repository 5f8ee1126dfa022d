// One QApplication around all tests, made before the first test and torn down cleanly after
// the last, so leak checks see Qt's own cleanup.
#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace tessaview::test {
namespace {

class GuiAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override { app_ = std::make_unique<QApplication>(argc_, argv_); }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[18] = "test_presentation";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new GuiAppEnvironment);

}  // namespace
}  // namespace tessaview::test
