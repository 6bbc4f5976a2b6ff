#pragma once
// One QApplication for a whole Qt test program, made when the tests start (not when they are
// only listed, which happens at build time without a display). Include it in one file of the
// program; a program that must set the platform up first registers its own with that step.

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace rescalo::testing_support {

class QtApplicationEnvironment : public ::testing::Environment {
 public:
  explicit QtApplicationEnvironment(void (*beforeApplication)() = nullptr)
      : before_(beforeApplication) {}
  void SetUp() override {
    // ctest sets the platform; a direct run should not need a display either.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (before_) before_();
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[14] = "rescalo_tests";
  char* argv_[2] = {name_, nullptr};
  void (*before_)();
  std::unique_ptr<QApplication> app_;
};

#ifndef RESCALO_OWN_QT_APPLICATION
[[maybe_unused]] inline const auto* const qtApplication =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);
#endif

}  // namespace rescalo::testing_support
