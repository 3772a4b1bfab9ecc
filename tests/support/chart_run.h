// A run of the game's chart tree as a script, one line per frame F (from 1), its clauses
// separated by ";". A clause with "=", "<" or ">" is checked after frame F; any other happens
// before it:
//   key-down KEY | key-up KEY | mouse-move X Y | mouse-down B | mouse-up B   input
//   send NAME NUMBER|'TEXT', remove NAME   a global, as another chart would change it
//   set PATH NUMBER, clock PATH MM:SS.HH   a cell, or a time display's six digits, set
//   seek PATH SECONDS   the sound whose index PATH holds moved;  store KEY JSON   a preference
//   step SECONDS   the frames from F on last SECONDS;  pause   the view paused and resumed
// What is checked is a cell by its path from `Start` (each step a list cell holding one chart, or
// "cell#k" for its k-th) or one of: global NAME, globals (their number), stored KEY, alert (its
// lines joined by |), drawn (any pixel lit), polygons, textures, sound PATH (playing or stopped,
// and its time), clock PATH, glyph PATH K (middle x, then sheet u0 u1 v0 v1, of glyph K of the
// letters polygon whose index PATH holds), glyphs PATH (their number), camera PATH
// (whether the model-view matrix is that camera's). Values print as numbers, 'texts', empty,
// undefined, none, [elements], yes or no.
#pragma once

#include <string>
#include <vector>

#include "support/game_tree.h"

struct ChartRun {
  const char* name;
  std::vector<chart::ChartSource> standIns;
  std::string script;
};

class ChartRunTest : public GameTree, public ::testing::WithParamInterface<ChartRun> {
 protected:
  ChartRunTest() : GameTree(GetParam().standIns) {}
  void SetUp() override;

  // Runs the script to its last frame, checking every expectation.
  void play(const std::string& script);

 private:
  void intervene(const std::string& clause);
  std::string value(const std::string& what);

  Picture lastFrame;
};
