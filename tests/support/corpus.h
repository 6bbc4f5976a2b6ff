#pragma once
// Where the real forms of public projects are found. They live beside the checkout, not in it,
// so a clone on its own skips the tests that read them instead of failing.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <iostream>
#include <string>
#include <string_view>
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

// The corpus comes in batches: the folder named above, then the batches beside it (forms-2, ...).
inline std::vector<std::filesystem::path> corpusDirs() {
  std::vector<std::filesystem::path> out{corpusDir()};
  std::error_code ec;
  for (int batch = 2;; ++batch) {
    auto next =
        corpusDir().parent_path() / (corpusDir().filename().string() + "-" + std::to_string(batch));
    if (!std::filesystem::is_directory(next, ec)) break;
    out.push_back(std::move(next));
  }
  return out;
}

// The .frm files of a folder and its subfolders (a form with pictures of a name another form
// also uses lives in a folder of its own), sorted by file name; none when the folder is absent.
inline std::vector<std::filesystem::path> formsIn(const std::filesystem::path& dir) {
  std::vector<std::filesystem::path> out;
  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec)) return out;
  for (const auto& e : std::filesystem::recursive_directory_iterator(dir))
    if (e.path().extension() == ".frm") out.push_back(e.path());
  std::sort(out.begin(), out.end(),
            [](const auto& a, const auto& b) { return a.filename() < b.filename(); });
  return out;
}

// Every form of every batch of the corpus.
inline std::vector<std::filesystem::path> corpusForms() {
  std::vector<std::filesystem::path> out;
  for (const auto& dir : corpusDirs())
    for (auto& f : formsIn(dir)) out.push_back(std::move(f));
  return out;
}

// A corpus form by its file name or the start of it, whichever batch holds it.
inline std::filesystem::path corpusFile(const std::string& name) {
  for (auto& f : corpusForms())
    if (f.filename().string().starts_with(name)) return f;
  return corpusDir() / name;
}

inline std::filesystem::path examplesDir() {
  return std::filesystem::path(RESCALO_SOURCE_DIR) / "examples";
}

// What the tests that go over every form go over: the project's own examples, which cover
// every kind of control, then the corpus when it is there.
inline std::vector<std::filesystem::path> formsToCheck() {
  std::vector<std::filesystem::path> out = formsIn(examplesDir());
  for (auto& f : corpusForms()) out.push_back(std::move(f));
  return out;
}

}  // namespace rescalo::testing_support

// First line of a test that reads the corpus.
#define RESCALO_NEED_CORPUS()                                                                 \
  do {                                                                                        \
    if (!::testing_support::haveCorpus()) GTEST_SKIP() << ::testing_support::corpusMissing(); \
  } while (false)
