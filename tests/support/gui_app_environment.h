// One QApplication around all tests of a GUI test program: made before the first test and
// torn down after the last, so leak checks see Qt's own cleanup. Include it in one file.
#pragma once

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace tessaview::test {

class GuiAppEnvironment : public ::testing::Environment {
    int argc_ = 1;
    char name_[10] = "tessaview";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;

public:
    void SetUp() override { app_ = std::make_unique<QApplication>(argc_, argv_); }
    void TearDown() override { app_.reset(); }
};

inline ::testing::Environment* const guiAppEnvironment = ::testing::AddGlobalTestEnvironment(new GuiAppEnvironment);

}  // namespace tessaview::test
