#pragma once
// Where the real forms of public projects are found. They live beside the checkout, not in it,
// so a clone on its own skips the tests that read them instead of failing.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace rescalo::testing_support {

// RESCALO_CORPUS_DIR in the environment wins over the folder the build was configured with.
inline std::filesystem::path corpusDir() {
  if (const char* env = std::getenv("RESCALO_CORPUS_DIR"); env && *env) return env;
  return RESCALO_CORPUS_DIR;
}

inline bool haveCorpus() {
  std::error_code ec;
  return std::filesystem::is_directory(corpusDir(), ec);
}

inline std::string corpusMissing() {
  return "corpus of real forms not found at " + corpusDir().string() +
         "; put it there, or point RESCALO_CORPUS_DIR (environment or CMake cache) at it";
}

inline std::filesystem::path corpusFile(const std::string& name) { return corpusDir() / name; }

// The .frm files of a folder, sorted; none when the folder is absent.
inline std::vector<std::filesystem::path> formsIn(const std::filesystem::path& dir) {
  std::vector<std::filesystem::path> out;
  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec)) return out;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    if (e.path().extension() == ".frm") out.push_back(e.path());
  std::sort(out.begin(), out.end());
  return out;
}

inline std::filesystem::path examplesDir() {
  return std::filesystem::path(RESCALO_SOURCE_DIR) / "examples";
}

// What the tests that go over every form go over: the project's own examples, which cover
// every kind of control, then the corpus when it is there.
inline std::vector<std::filesystem::path> formsToCheck() {
  std::vector<std::filesystem::path> out = formsIn(examplesDir());
  for (auto& f : formsIn(corpusDir())) out.push_back(std::move(f));
  return out;
}

}  // namespace rescalo::testing_support

// First line of a test that reads the corpus.
#define RESCALO_NEED_CORPUS()                                                                 \
  do {                                                                                        \
    if (!::testing_support::haveCorpus()) GTEST_SKIP() << ::testing_support::corpusMissing(); \
  } while (false)
