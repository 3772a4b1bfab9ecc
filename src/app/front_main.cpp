// The front program, `aloft`: answers a verdict that needs no picture itself, with no window,
// audio device, font or decoder, from what the build recorded about the resources; hands
// everything else (playing, watching, pictures, board commands, other resources) to the game
// program beside it, with the same arguments.
#include <cstdio>
#include <optional>
#include <variant>

#include "app/command_line.h"
#include "app/game_run.h"
#include "app/known_resources.h"
#include "app/resource_digest.h"
#include "app/resource_folder.h"
#include "engine/kiv_alert.h"
#include "engine/kiv_audio.h"
#include "engine/null_drawing.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/program_exec.h"

namespace {

// The recorded facts hold for what a verdict asks of the pictures and sounds.
static_assert(engine::NullDrawing::kMaxTextureSide == platform::kKnownFilesMaxSide);
static_assert(engine::KivAudio::kFormat.sampleRate == platform::kKnownFilesSoundRate &&
              engine::KivAudio::kFormat.channels == platform::kKnownFilesSoundChannels);

constexpr const char* kGameProgram = "aloft-game";

// A verdict without a picture; a scripted one feeds input to a window, which only the game
// program has.
bool answeredHere(const Options& options) {
  return !options.verify.empty() && options.screenshot.empty() && options.script.empty() &&
         !options.boardCommand.active() && options.chartGraph.empty();
}

// The resource folder when its files are the ones recorded, with pictures and sounds answered
// from the record from now on; nothing when it is missing or different (the game program then
// says what is wrong with it, or decodes the other files).
std::optional<FoundResources> recordedResources(const Options& options) {
  const std::string folder = findResourceFolder(resourceFolderCandidatesFor(options));
  if (folder.empty()) return std::nullopt;
  std::string digest = resourceDigest(folder + "/kivResources");
  if (digest != kKnownResourceDigest) return std::nullopt;
  platform::useKnownFiles(folder + "/kivResources/", kKnownResources);
  return FoundResources{folder, std::move(digest)};
}

[[noreturn]] void runGameProgram(char** argv) {
  const std::string directory = platform::executableDirectory();
  const std::string program = directory + kGameProgram;
  const std::string failure =
      directory.empty() ? "the program's own folder is unknown"
                        : platform::replaceProcess(program, argv);
  platform::quietAlerts();
  engine::KivAlert::share().setQuitAlert("The game program " + program +
                                         " could not be started: " + failure);
}

}  // namespace

int main(int argc, char** argv) {
  auto parsed = parseCommandLine(argc, argv);
  if (const int* status = std::get_if<int>(&parsed)) return *status;
  const Options& options = std::get<Options>(parsed);
  if (answeredHere(options)) {
    if (const auto found = recordedResources(options)) return runGame(options, &*found);
  }
  runGameProgram(argv);
}
