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

// Runs `binary` once for each list of arguments, all started before any is waited for: games
// that share files. The results are in the order of the lists.
std::vector<ProgramResult> runProgramsTogether(
    const std::string& binary, const std::vector<std::vector<std::string>>& argumentLists);
