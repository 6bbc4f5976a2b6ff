#pragma once
// Where the real forms of public projects are found. They live beside the checkout, not in it,
// so a clone on its own skips the tests that read them instead of failing.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace testing_support {

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

}  // namespace testing_support

// First line of a test that reads the corpus.
#define RESCALO_NEED_CORPUS()                                                   \
  do {                                                                          \
    if (!::testing_support::haveCorpus()) GTEST_SKIP() << ::testing_support::corpusMissing(); \
  } while (false)
