#pragma once
// Runs a program to its end in a given directory and collects its output, for tests of
// the command line. A program still running at the deadline is killed and reported as -1.
#include <chrono>
#include <string>
#include <vector>

namespace m2::test {

struct ProgramResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

ProgramResult RunProgram(const std::vector<std::string>& argv, const std::string& workDir,
                         std::chrono::milliseconds deadline = std::chrono::seconds(30));

}  // namespace m2::test
