#pragma once
// Running the rescalo command as a user does, and reading what it wrote.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

namespace rescalo::testing_support {

struct Result {
  int exitCode;
  std::string out;
};

// Runs the command with stderr folded into the output; env is a shell prefix such as
// "QT_QPA_PLATFORM=offscreen".
inline Result runRescalo(const std::string& args, const std::string& env = {}) {
  std::string cmd = env + " " + RESCALO_CLI + " " + args + " 2>&1";
  FILE* p = popen(cmd.c_str(), "r");
  Result r{-1, {}};
  if (!p) return r;
  std::array<char, 4096> buf;
  while (std::size_t n = std::fread(buf.data(), 1, buf.size(), p)) r.out.append(buf.data(), n);
  int status = pclose(p);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

inline std::string readAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline bool has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Every one of parts is in the text and none of absent; a failure shows the text.
inline void expectHas(const std::string& text, std::initializer_list<std::string> parts,
                      std::initializer_list<std::string> absent = {}) {
  for (const std::string& p : parts) EXPECT_TRUE(has(text, p)) << p << "\n" << text;
  for (const std::string& p : absent) EXPECT_FALSE(has(text, p)) << p << "\n" << text;
}

// A run that must succeed.
inline Result runOk(const std::string& args) {
  Result r = runRescalo(args);
  EXPECT_EQ(r.exitCode, 0) << args << "\n" << r.out;
  return r;
}

// A run that must fail with this exit code and say this.
inline void expectRefused(const std::string& args, int exitCode, const std::string& message) {
  Result r = runRescalo(args);
  EXPECT_EQ(r.exitCode, exitCode) << args << "\n" << r.out;
  EXPECT_TRUE(has(r.out, message)) << args << "\n" << message << "\n" << r.out;
}

// Writes the text to the file, returning its path as the command takes it.
inline std::string writeText(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
  return file.string();
}

}  // namespace rescalo::testing_support
