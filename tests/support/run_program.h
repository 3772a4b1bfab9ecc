// Runs the game's binary as a child process and collects its exit status and output.
#pragma once

#include <string>
#include <vector>

struct ProgramResult {
  int exitStatus = -1;  // -1 when the child did not exit normally
  std::string out;
  std::string err;
};

// The game's binary, as the build registered it for the tests.
std::string gameBinary();

ProgramResult runProgram(const std::string& binary, const std::vector<std::string>& arguments);
