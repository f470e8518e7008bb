#pragma once
// Runs a program of Debian's (a reader we did not write) and keeps what it printed.
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace devconfigtest {

struct ToolOutput {
  int exitCode = -1;
  std::string out;  // standard output; standard error goes to the test's log
};

// `command` is given to the shell as it is: quote its arguments.
inline ToolOutput RunTool(const std::string& command) {
  ToolOutput result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
  const int status = ::pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

inline std::string Quoted(const std::string& path) {
  std::string q = "'";
  for (char c : path) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

}  // namespace devconfigtest
