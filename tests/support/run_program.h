#pragma once
// Runs one of our programs to completion, with a bounded time, and collects its output.
#include <chrono>
#include <string>
#include <vector>

namespace m2::test {

struct ProgramResult {
  int exitCode = -1;  // -1 when it did not end in time (it is killed then)
  std::string out;
  std::string err;
};

ProgramResult RunProgram(const std::vector<std::string>& argv, const std::string& workDir,
                         std::chrono::milliseconds timeout = std::chrono::seconds(30));

}  // namespace m2::test
