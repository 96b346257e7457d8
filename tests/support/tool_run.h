// Runs a command-line tool of the system for a test and gives back its
// standard output; tests skip when the tool is not installed.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace hwf::test {

inline bool HaveTool(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Output of `command`, and its exit status in *status.
inline std::string RunTool(const std::string& command, int* status = nullptr) {
  std::string out;
  FILE* p = ::popen(command.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  const int rc = ::pclose(p);
  if (status) *status = rc;
  return out;
}

}  // namespace hwf::test
