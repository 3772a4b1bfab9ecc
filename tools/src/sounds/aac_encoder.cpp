#include "aac_encoder.h"

#include <spawn.h>
#include <sys/wait.h>

#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace resgen {

void encodeAac(const std::filesystem::path& wav, const std::filesystem::path& m4a) {
  std::vector<std::string> arguments = {
      "ffmpeg",     "-nostdin", "-y",        "-loglevel", "error",     "-i",
      wav.string(), "-c:a",     "aac",       "-b:a",      "128k",      "-map_metadata",
      "-1",         "-fflags",  "+bitexact", "-flags:a",  "+bitexact", m4a.string()};
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  pid_t child = 0;
  if (posix_spawnp(&child, "ffmpeg", nullptr, nullptr, argv.data(), environ) != 0) {
    throw std::runtime_error("cannot run ffmpeg (is it installed?)");
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw std::runtime_error("ffmpeg failed to encode " + m4a.string());
  }
}

}  // namespace resgen
