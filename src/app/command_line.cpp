#include "app/command_line.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <iostream>

namespace {

// "WxH" with both numbers from 1 to 16384.
std::string parseSize(const std::string& text, platform::Size& size) {
  const auto x = text.find('x');
  auto number = [](std::string_view part, int& value) {
    const auto [end, status] = std::from_chars(part.data(), part.data() + part.size(), value);
    return status == std::errc() && end == part.data() + part.size() && value >= 1 &&
           value <= 16384;
  };
  const std::string_view view = text;
  if (x == std::string::npos || !number(view.substr(0, x), size.width) ||
      !number(view.substr(x + 1), size.height)) {
    return "--size takes WIDTHxHEIGHT in points, e.g. 960x640";
  }
  return {};
}

}  // namespace

std::variant<Options, int> parseCommandLine(int argc, const char* const* argv) {
  Options options;
  std::string size;
  std::int64_t frames = 0;
  double fixedStep = 0;

  // Every option's help fits on one line: the ranges checked are left out of the type names.
  CLI::App app{"aloft: steer a flyer aloft for as long as you can.\n\n"
               "Keys: Left/Right turn the flyer, any key starts a run, a/d, q/e and w/s move the\n"
               "camera while held, F1 shows the frame rate, F11 or Alt+Enter toggles full screen,\n"
               "Pause or Ctrl+P pauses, Ctrl+Q quits. A click on HARD or EASY chooses the mode.",
               "aloft"};
  app.set_version_flag("--version", std::string("aloft ") + ALOFT_VERSION);
  app.add_flag("--fullscreen", options.fullscreen, "Start in full screen");
  app.add_option("--size", size, "Window size in points (default 960x640)")->type_name("WxH");
  app.add_option("--resources", options.resources, "Folder holding kivResources")
      ->type_name("DIR");
  app.add_option("--prefs", options.prefs, "Preference file (best times)")->type_name("FILE");
  app.add_option("--trace", options.trace,
                 "Print each node of CHART, with the cells it reads and writes, as it runs "
                 "(repeatable)")
      ->type_name("CHART");
  app.add_option("--count-nodes", options.countNodes,
                 "At the end of the run, write how often each node of each chart ran")
      ->type_name("FILE");
  app.add_option("--chart-graph", options.chartGraph,
                 "Print chart NAME (or all nine) as a Graphviz graph and end")
      ->type_name("NAME|all");
  app.add_option("--counts", options.counts,
                 "With --chart-graph: colour each node by its count from --count-nodes")
      ->type_name("FILE");
  app.add_flag("--headless", options.headless, "No visible window and no sound");
  auto* framesOption = app.add_option("--frames", frames, "End normally after frame N")
                           ->type_name("N")
                           ->check(CLI::Range(std::int64_t{1}, std::int64_t{1} << 40).description(""));
  auto* stepOption =
      app.add_option("--fixed-step", fixedStep,
                     "Every frame lasts SECONDS; frames run back to back")
          ->type_name("SECONDS")
          ->check(CLI::Range(1e-6, 10.0).description(""));
  app.add_option("--script", options.script, "Input events to deliver (see README)")
      ->type_name("FILE");
  app.add_option("--screenshot", options.screenshot, "Write the last frame as PNG")
      ->type_name("FILE.png");

  try {
    app.parse(argc, argv);
    if (!size.empty()) {
      if (std::string problem = parseSize(size, options.size); !problem.empty()) {
        throw CLI::ValidationError(problem);
      }
    }
    if (!options.counts.empty() && options.chartGraph.empty()) {
      throw CLI::ValidationError("--counts colours a picture: it needs --chart-graph");
    }
    if (!options.countNodes.empty() && !options.chartGraph.empty()) {
      throw CLI::ValidationError("--count-nodes counts a run: --chart-graph runs nothing");
    }
  } catch (const CLI::CallForHelp&) {
    std::cout << app.help();
    return 0;
  } catch (const CLI::CallForVersion& version) {
    std::cout << version.what() << '\n';
    return 0;
  } catch (const CLI::ParseError& error) {
    std::cerr << "aloft: " << error.what() << "\n\n" << app.help();
    return kExitUsage;
  }
  if (framesOption->count() > 0) options.frames = frames;
  if (stepOption->count() > 0) options.fixedStep = fixedStep;
  return options;
}
