#pragma once
// Shared set-up for the runtime tests: a runtime with its own settings file, forms built from
// .frm text or taken from the corpus, and .frx picture entries.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <rescalo/runtime/form.h>
#include <rescalo/runtime/frm/frm_document.h>
#include <rescalo/runtime/loader.h>
#include <rescalo/runtime/raster/image_io.h>
#include <rescalo/runtime/runtime.h>
#include "corpus.h"
#include "host_support.h"

namespace rescalo::testing_support {

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

// A test with a new folder of its own, gone afterwards.
class TempDirTest : public ::testing::Test {
 protected:
  ~TempDirTest() override { std::filesystem::remove_all(dir); }
  const std::filesystem::path dir = freshDir("t");
};

class RuntimeTest : public TempDirTest {
 protected:
  RuntimeTest() : rt(options(dir)) {}
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
  runtime::LoadedForm load(const std::filesystem::path& file, bool userMode = true) {
    auto lf = runtime::loadForm(rt, file, {userMode});
    keep.push_back(lf.form);
    return lf;
  }
  host::ObjectPtr obj(runtime::Form& form, std::string_view key) {
    runtime::Control* c = form.find(key);
    if (!c) ADD_FAILURE() << "no control " << key;
    return c ? c->shared_from_this() : nullptr;
  }
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

// A control block of a form body: "Begin <what>", its properties and inner blocks, "End".
inline std::string block(const std::string& what, const std::string& inside = {}) {
  return "Begin " + what + "\n" + inside + "End\n";
}

// The Left, Top, Width and Height lines of a block, in twips.
inline std::string place(int left, int top, int width, int height) {
  return "Left = " + std::to_string(left) + "\nTop = " + std::to_string(top) +
         "\nWidth = " + std::to_string(width) + "\nHeight = " + std::to_string(height) + "\n";
}

// A picture entry of a form's .frx companion: entry size, "lt\0\0", image size, PNG bytes.
inline void appendFrxPicture(std::vector<char>& frx, const raster::Bitmap& bm) {
  std::vector<std::uint8_t> image = raster::encodePng(bm);
  auto put32 = [&](std::size_t v) {
    for (int i = 0; i < 4; ++i) frx.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  put32(image.size() + 8);
  put32(0x746C);
  put32(image.size());
  frx.insert(frx.end(), image.begin(), image.end());
}

inline void writeFile(const std::filesystem::path& file, const std::vector<char>& bytes) {
  std::ofstream(file, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace rescalo::testing_support
