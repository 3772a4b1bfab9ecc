#include "board/run_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "board/svg_plot.h"
#include "platform/limited_process.h"

namespace board {
namespace {

// The game's walls and ceiling: the flight is drawn in the box the flyer is held in.
constexpr double kWall = 25, kCeiling = 30;
constexpr const char* kGraphviz = "/usr/bin/dot";

struct Sample {
  double time, height, across;
};

// The samples of the last run in the flight text; lines that do not read are skipped.
std::vector<Sample> lastRun(const std::string& flight) {
  std::vector<Sample> samples;
  std::istringstream lines(flight);
  for (std::string line; std::getline(lines, line);) {
    if (line == "run") samples.clear();
    Sample sample{};
    char extra = 0;
    if (std::sscanf(line.c_str(), "%lf %lf %lf %c", &sample.time, &sample.height, &sample.across,
                    &extra) == 3 &&
        std::isfinite(sample.time + sample.height + sample.across)) {
      samples.push_back(sample);
    }
  }
  return samples;
}

std::string seconds(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g s", value);
  return text;
}

std::string plain(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::vector<std::pair<double, double>> points(const std::vector<Sample>& samples, double Sample::*x,
                                              double Sample::*y) {
  std::vector<std::pair<double, double>> result;
  for (const Sample& sample : samples) result.emplace_back(sample.*x, sample.*y);
  return result;
}

}  // namespace

std::vector<Picture> flightPictures(const std::string& flight) {
  const std::vector<Sample> samples = lastRun(flight);
  if (samples.empty()) return {};
  const double length = std::max(samples.back().time, 0.1);
  const auto peak = std::max_element(samples.begin(), samples.end(),
                                     [](auto& a, auto& b) { return a.height < b.height; });
  char summary[200];
  std::snprintf(summary, sizeof summary,
                "%zu positions over %.2f seconds; highest %.1f at %.1f seconds; last %.1f high.",
                samples.size(), samples.back().time, peak->height, peak->time,
                samples.back().height);
  Plot height{"Height over time",
              std::string("The flyer's height, from 0 to the ceiling at 30, against the time of "
                          "the run. ") +
                  summary,
              {"time (s)", 0, length, seconds},
              {"height", 0, kCeiling, plain},
              {{"height", "#06c", points(samples, &Sample::time, &Sample::height)}}};
  const auto [left, right] = std::minmax_element(
      samples.begin(), samples.end(), [](auto& a, auto& b) { return a.across < b.across; });
  std::snprintf(summary, sizeof summary, "It went from %.1f to %.1f across and ended at %.1f.",
                left->across, right->across, samples.back().across);
  Plot track{"Track seen from above",
             std::string("The flyer flies in a vertical plane, so seen from above it only moves "
                         "across, between the walls at -25 and 25. Its position across is drawn "
                         "against the time of the run, which runs downward. ") +
                 summary,
             {"across", -kWall, kWall, plain},
             {"time (s)", 0, length, seconds, true},
             {{"track", "#c50", points(samples, &Sample::across, &Sample::time)}}};
  return {{"height.svg", height.title + ". " + height.description, svgPlot(height)},
          {"track.svg", track.title + ". " + track.description, svgPlot(track)}};
}

std::string chartPicture(const std::string& game, const std::string& counts,
                         const std::string& scratch, std::size_t memoryBytes,
                         const std::atomic<bool>& stop) {
  std::ostringstream base;
  base << scratch << "/chart-" << std::this_thread::get_id();
  const std::string countsPath = base.str() + ".counts", graphPath = base.str() + ".dot";
  {
    std::ofstream file(countsPath, std::ios::trunc);
    file << counts;
    if (!file.flush()) return {};
  }
  std::filesystem::permissions(countsPath, std::filesystem::perms(0644));
  platform::ProcessLimits limits;
  limits.cpuSeconds = 20;
  limits.wallSeconds = 60;
  limits.memoryBytes = memoryBytes == 0 ? 0 : std::min(memoryBytes, std::size_t(1) << 30);
  limits.outputBytes = std::size_t(4) << 20;
  const std::vector<std::string> environment{"PATH=/usr/bin:/bin", "HOME=" + scratch};
  const auto graph = platform::runLimited({game, "--chart-graph", "Game", "--counts", countsPath},
                                          environment, limits, stop);
  std::filesystem::remove(countsPath);
  if (graph.end != platform::ProcessOutcome::End::Exited || graph.code != 0) return {};
  {
    std::ofstream file(graphPath, std::ios::trunc);
    file << graph.out;
    if (!file.flush()) return {};
  }
  std::filesystem::permissions(graphPath, std::filesystem::perms(0644));
  const auto drawn =
      platform::runLimited({kGraphviz, "-Tsvg", graphPath}, environment, limits, stop);
  std::filesystem::remove(graphPath);
  if (drawn.end != platform::ProcessOutcome::End::Exited || drawn.code != 0 ||
      drawn.out.size() >= limits.outputBytes || drawn.out.find("<svg") == std::string::npos) {
    return {};
  }
  return drawn.out;
}

}  // namespace board
