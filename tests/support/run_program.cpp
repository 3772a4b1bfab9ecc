#include "support/run_program.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

extern char** environ;

namespace {

std::string readAll(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

std::string gameBinary() {
  const char* path = std::getenv("ALOFT_BINARY");
  return path ? path : "aloft";
}

ProgramResult runProgram(const std::string& binary, const std::vector<std::string>& arguments) {
  char outPath[] = "/tmp/aloft-test-out-XXXXXX";
  char errPath[] = "/tmp/aloft-test-err-XXXXXX";
  const int outFd = mkstemp(outPath);
  const int errFd = mkstemp(errPath);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errFd, STDERR_FILENO);

  std::vector<std::string> all{binary};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& argument : all) argv.push_back(argument.data());
  argv.push_back(nullptr);

  ProgramResult result;
  pid_t child = 0;
  if (posix_spawn(&child, binary.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  close(outFd);
  close(errFd);
  result.out = readAll(outPath);
  result.err = readAll(errPath);
  unlink(outPath);
  unlink(errPath);
  return result;
}
