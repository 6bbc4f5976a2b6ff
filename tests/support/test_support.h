#pragma once
// Shared set-up for the runtime tests: a runtime with its own settings file, and forms built
// from .frm text.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "runtime/form.h"
#include "runtime/frm/frm_document.h"
#include "runtime/loader.h"
#include "runtime/runtime.h"

namespace testing_support {

// A new empty directory of this process's own: tests run in parallel processes.
inline std::filesystem::path freshDir(const std::string& name) {
  static int counter = 0;
  auto dir =
      std::filesystem::temp_directory_path() /
      ("rescalo-test-" + name + "-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

inline int errorOf(auto&& f) {
  try {
    f();
  } catch (const host::HostError& e) {
    return e.number();
  }
  return 0;
}

class RuntimeTest : public ::testing::Test {
 protected:
  RuntimeTest() : dir(freshDir("rt")), rt(options(dir)) {}
  ~RuntimeTest() override { std::filesystem::remove_all(dir); }
  static runtime::RuntimeOptions options(const std::filesystem::path& d) {
    runtime::RuntimeOptions o;
    o.settingsFile = d / "settings";
    return o;
  }
  std::shared_ptr<runtime::Form> build(const std::string& text, bool userMode = true) {
    auto doc = frm::read(text, "test.frm");
    auto form = runtime::buildForm(rt, doc, dir / "test.frm", {userMode});
    keep.push_back(form);
    return form;
  }
  std::filesystem::path dir;
  runtime::Runtime rt;
  std::vector<std::shared_ptr<runtime::Form>> keep;
};

// A form of the given class with the given body (control blocks and form properties).
inline std::string formText(const std::string& body, const std::string& header = {},
                            const std::string& cls = "VB.Form", const std::string& name = "Form1") {
  return "VERSION 5.00\nBegin " + cls + " " + name +
         "\n   ClientHeight    =   3000\n   ClientLeft      =   60\n   ClientTop       =   345\n"
         "   ClientWidth     =   4000\n" +
         header + body + "End\nAttribute VB_Name = \"" + name + "\"\n";
}

}  // namespace testing_support
