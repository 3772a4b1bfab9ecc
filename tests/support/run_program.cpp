#include "support/run_program.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

extern char** environ;

std::string readText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeText(const std::filesystem::path& file, const std::string& contents) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << contents;
}

std::multiset<std::string> copiesSetAside(const std::filesystem::path& file) {
  std::multiset<std::string> copies;
  for (const auto& entry : std::filesystem::directory_iterator(file.parent_path())) {
    if (entry.path().filename().string().starts_with(file.filename().string() + ".corrupt-")) {
      copies.insert(readText(entry.path()));
    }
  }
  return copies;
}

ScratchDirectory::ScratchDirectory(const std::string& name) {
  std::string pattern = "/tmp/aloft-" + name + "-XXXXXX";
  path_ = mkdtemp(pattern.data());
}

ScratchDirectory::~ScratchDirectory() { std::filesystem::remove_all(path_); }

ProgramResult playScript(const std::string& script, int frames,
                         const std::filesystem::path& prefs,
                         const std::vector<std::string>& extra) {
  const std::filesystem::path scriptFile = prefs.parent_path() / "script.txt";
  writeText(scriptFile, script);
  std::vector<std::string> arguments{"--headless", "--fixed-step", "0.01",
                                     "--prefs",    prefs,          "--script",
                                     scriptFile,   "--frames",     std::to_string(frames)};
  arguments.insert(arguments.end(), extra.begin(), extra.end());
  return runProgram(gameBinary(), arguments);
}

std::string gameBinary() {
  const char* path = std::getenv("ALOFT_BINARY");
  return path ? path : "aloft";
}

ProgramResult runProgram(const std::string& binary, const std::vector<std::string>& arguments) {
  return runProgramsTogether(binary, {arguments}).front();
}

std::vector<ProgramResult> runProgramsTogether(
    const std::string& binary, const std::vector<std::vector<std::string>>& argumentLists) {
  struct Started {
    pid_t child = 0;
    bool running = false;
    std::string outPath = "/tmp/aloft-test-out-XXXXXX";
    std::string errPath = "/tmp/aloft-test-err-XXXXXX";
  };
  std::vector<Started> started(argumentLists.size());
  for (std::size_t at = 0; at < argumentLists.size(); ++at) {
    Started& program = started[at];
    const int outFd = mkstemp(program.outPath.data());
    const int errFd = mkstemp(program.errPath.data());
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errFd, STDERR_FILENO);

    std::vector<std::string> all{binary};
    all.insert(all.end(), argumentLists[at].begin(), argumentLists[at].end());
    std::vector<char*> argv;
    for (auto& argument : all) argv.push_back(argument.data());
    argv.push_back(nullptr);
    program.running =
        posix_spawn(&program.child, binary.c_str(), &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(outFd);
    close(errFd);
  }

  std::vector<ProgramResult> results(started.size());
  for (std::size_t at = 0; at < started.size(); ++at) {
    Started& program = started[at];
    int status = 0;
    if (program.running && waitpid(program.child, &status, 0) == program.child &&
        WIFEXITED(status)) {
      results[at].exitStatus = WEXITSTATUS(status);
    }
    results[at].out = readText(program.outPath);
    results[at].err = readText(program.errPath);
    unlink(program.outPath.c_str());
    unlink(program.errPath.c_str());
  }
  return results;
}
