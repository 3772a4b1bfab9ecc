// What a kept best run starts from. A best run's replay begins at the frame after the mode was
// chosen, not at the program's start. What the charts carry from before that frame into the run
// and what shapes the picture is: the chosen mode (the global `gvGameType` the stats screen sends)
// and the camera's placement (the number cells of the `Camera` chart, which outlives every run and
// which the a/d, q/e and w/s keys move). The recorder writes both into the replay; the player
// rebuilds the start by running the program's own start-up with no input and long frames (the
// splash screens time out), with the camera's cells and the two globals the stats screen sends
// on a click (`gvGameType`, `gvExitStats`) put in place, until the screen director has switched to
// the game; the recorded frames follow from there.
#pragma once

#include <string>
#include <vector>

#include "app/replay_file.h"
#include "app/root_chart.h"

namespace chart {
class GlobalVariableDictionary;
}

class RunStartState {
 public:
  // Interns the names of the globals it watches; the chart definitions must be registered.
  explicit RunStartState(chart::GlobalVariableDictionary& dictionary);

  // Whether a mode has been chosen (the stats screen sent it) and no run has ended since.
  bool modeChosen() const;
  // The mode chosen, and the camera's number cells as they stand now.
  std::string chosenMode() const;
  std::vector<CellState> cameraCells() const;

  // Whether the camera exists yet (the root chart's first update makes it).
  bool cameraExists() const;
  // Puts the camera's cells and the stats screen's click globals for `mode` in place.
  void apply(const std::string& mode, const std::vector<CellState>& cells);

 private:
  chart::GlobalVariableDictionary& globals;
  std::uint32_t gameTypeKey;
  std::uint32_t exitStatsKey;
  std::uint32_t cameraKey;
};

// Whether the screen director of `root` runs the game screen.
bool gameScreenRuns(const RootChart& root);
