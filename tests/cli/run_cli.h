#pragma once
// Runs the rescalo command and collects what it prints.

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

struct Result {
  int exitCode;
  std::string out;
};

// Runs the command with stderr folded into the output.
Result rescalo(const std::string& args) {
  std::string cmd = std::string(RESCALO_CLI) + " " + args + " 2>&1";
  FILE* p = popen(cmd.c_str(), "r");
  Result r{-1, {}};
  if (!p) return r;
  std::array<char, 4096> buf;
  while (std::size_t n = std::fread(buf.data(), 1, buf.size(), p)) r.out.append(buf.data(), n);
  int status = pclose(p);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

}  // namespace
