#include "app/command_line.h"

#include <CLI/CLI.hpp>
#include <cctype>
#include <charconv>
#include <iostream>
#include <optional>

#include "platform/command_line_answer.h"
#include "platform/text_fields.h"

namespace {

// The whole number `text`, when it is one from `low` to `high`.
std::optional<int> wholeNumber(std::string_view text, int low, int high) {
  int value = 0;
  if (!platform::parseWhole(text, value) || value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

// "WxH" with both numbers from 1 to 16384.
std::string parseSize(const std::string& text, platform::Size& size) {
  const auto x = text.find('x');
  const std::string_view view = text;
  const auto width = wholeNumber(view.substr(0, x), 1, 16384);
  const auto height = x == std::string::npos ? std::nullopt : wholeNumber(view.substr(x + 1), 1, 16384);
  if (!width || !height) {
    return "--size takes WIDTHxHEIGHT in points, each from 1 to 16384, e.g. 960x640; not " + text;
  }
  size = {*width, *height};
  return {};
}

bool endsWithPng(std::string_view path) {
  if (path.size() < 4) return false;
  std::string end(path.substr(path.size() - 4));
  for (char& c : end) c = char(std::tolower(static_cast<unsigned char>(c)));
  return end == ".png";
}

// Options read as text or plain numbers first, turned into `Options` once they parsed.
struct Values {
  std::string size;
  std::int64_t frames = 0;
  double fixedStep = 0;
  std::string volume;
  CLI::Option* framesOption = nullptr;
  CLI::Option* stepOption = nullptr;
  CLI::Option* volumeOption = nullptr;
};

constexpr const char* kDescription =
    "aloft: steer a flyer aloft for as long as you can.\n\n"
    "Keys: Left/Right turn the flyer, any key starts a run, a/d, q/e and w/s move the\n"
    "camera while held, F1 shows the frame rate, F11 or Alt+Enter toggles full screen,\n"
    "Pause or Ctrl+P pauses, Ctrl+Q quits, Ctrl+M mutes, Ctrl+Minus and Ctrl+Plus\n"
    "turn the sound down and up. A click on HARD or EASY chooses the mode; without a\n"
    "mouse Down/Tab and Up/Shift+Tab focus them and Return chooses.\n"
    "Game controller: D-pad or left stick left/right turn, D-pad up/down focus HARD\n"
    "or EASY, A chooses (or starts a run), Start pauses, B resumes.\n"
    "Each new best time keeps its run as best-hard.replay or best-easy.replay beside\n"
    "the preference file.";

// Every option's help fits on one line: the ranges checked are left out of the type names.
void addPlayOptions(CLI::App& app, Options& options, Values& values) {
  app.add_flag("--fullscreen", options.fullscreen, "Start in full screen");
  app.add_option("--size", values.size, "Window size in points (default 960x640)")
      ->type_name("WxH");
  app.add_option("--resources", options.resources, "Folder holding kivResources")
      ->type_name("DIR");
  app.add_option("--prefs", options.prefs, "Preference file (best times)")->type_name("FILE");
  app.add_option("--trace", options.trace,
                 "Print each node of CHART, with the cells it reads and writes, as it runs "
                 "(repeatable)")
      ->type_name("CHART");
  values.volumeOption =
      app.add_option("--volume", values.volume, "Sound volume for this run, 0 to 100")
          ->type_name("PERCENT");
  app.add_flag("--mute", options.mute, "No sound for this run");
}

void addChartPictureOptions(CLI::App& app, Options& options) {
  app.add_option("--count-nodes", options.countNodes,
                 "At the end of the run, write how often each node of each chart ran")
      ->type_name("FILE");
  app.add_option("--chart-graph", options.chartGraph,
                 "Print chart NAME (or all nine) as a Graphviz graph and end")
      ->type_name("NAME|all");
  app.add_option("--counts", options.counts,
                 "With --chart-graph: colour each node by its count from --count-nodes")
      ->type_name("FILE");
}

void addAutomationOptions(CLI::App& app, Options& options, Values& values) {
  app.add_flag("--headless", options.headless, "No visible window and no sound");
  values.framesOption =
      app.add_option("--frames", values.frames, "End normally after frame N")
          ->type_name("N")
          ->check(CLI::Range(std::int64_t{1}, std::int64_t{1} << 40).description(""));
  values.stepOption =
      app.add_option("--fixed-step", values.fixedStep,
                     "Every frame lasts SECONDS; frames run back to back")
          ->type_name("SECONDS");
  app.add_option("--script", options.script, "Input events to deliver (see README)")
      ->type_name("FILE");
  app.add_option("--screenshot", options.screenshot, "Write the last frame as PNG")
      ->type_name("FILE.png");
}

void addReplayOptions(CLI::App& app, Options& options) {
  app.add_option("--record", options.record, "Write a replay of the session to FILE at the end")
      ->type_name("FILE");
  app.add_option("--replay", options.replay, "Watch a replay; only pause, full screen and quit")
      ->type_name("FILE");
  app.add_option("--replay-best", options.replayBest, "Watch the kept best run of a mode")
      ->type_name("hard|easy")
      ->check(CLI::IsMember({"hard", "easy"}).description(""));
  app.add_option("--verify", options.verify,
                 "Play a replay headless at full speed and check the time it claims")
      ->type_name("FILE");
  app.add_option("--flight", options.flight,
                 "With --verify: write the flyer's height and across every 0.1 s of the run")
      ->type_name("FILE");
}

// Options that parsed one by one but do not go together; throws naming the problem.
void checkTogether(Options& options, const Values& values) {
  const int replays =
      !options.replay.empty() + !options.replayBest.empty() + !options.verify.empty();
  if (replays > 1) throw CLI::ValidationError("--replay, --replay-best and --verify: one at most");
  if (replays == 1 && (!options.record.empty() || !options.script.empty())) {
    throw CLI::ValidationError("a replay takes neither --record nor --script");
  }
  if (!options.flight.empty() && options.verify.empty()) {
    throw CLI::ValidationError("--flight logs a verified run: it needs --verify");
  }
  if (!values.size.empty()) {
    if (std::string problem = parseSize(values.size, options.size); !problem.empty()) {
      throw CLI::ValidationError(problem);
    }
    options.sizeGiven = true;
  }
  if (values.stepOption->count() > 0 && !(values.fixedStep >= 1e-6 && values.fixedStep <= 1)) {
    throw CLI::ValidationError("--fixed-step takes seconds from 0.000001 to 1");
  }
  if (values.volumeOption->count() > 0 && !wholeNumber(values.volume, 0, 100)) {
    throw CLI::ValidationError("--volume takes a whole number from 0 to 100; not " +
                               values.volume);
  }
  if (!options.screenshot.empty() && !endsWithPng(options.screenshot)) {
    throw CLI::ValidationError("--screenshot writes PNG: its name ends in .png");
  }
  // A replay ends by itself; a live game needs --frames to end on a frame to take.
  if (!options.screenshot.empty() && values.framesOption->count() == 0 && replays == 0) {
    throw CLI::ValidationError("--screenshot writes the last of --frames N: give --frames");
  }
  if (!options.counts.empty() && options.chartGraph.empty()) {
    throw CLI::ValidationError("--counts colours a picture: it needs --chart-graph");
  }
  if (!options.countNodes.empty() && !options.chartGraph.empty()) {
    throw CLI::ValidationError("--count-nodes counts a run: --chart-graph runs nothing");
  }
}

}  // namespace

std::variant<Options, int> parseCommandLine(int argc, const char* const* argv) {
  Options options;
  Values values;
  CLI::App app{kDescription, "aloft"};
  app.set_version_flag("--version", std::string("aloft ") + ALOFT_VERSION);
  addPlayOptions(app, options, values);
  addChartPictureOptions(app, options);
  addAutomationOptions(app, options, values);
  addReplayOptions(app, options);
  addBoardOptions(app, options.boardCommand);

  if (const auto status = platform::parseOrAnswer(app, argc, argv,
                                                 [&] { checkTogether(options, values); })) {
    return *status;
  }
  if (values.framesOption->count() > 0) options.frames = values.frames;
  if (values.stepOption->count() > 0) options.fixedStep = values.fixedStep;
  if (values.volumeOption->count() > 0) options.volume = wholeNumber(values.volume, 0, 100);
  return options;
}

int refuseCommandLine(const std::string& problem) {
  return platform::refuseCommandLine("aloft", problem);
}
