#pragma once
// Running the rescalo command as a user does, and reading what it wrote.

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
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

}  // namespace rescalo::testing_support
