// A run of the game's chart tree written as a script: the input and the interventions at their
// frames, and what must hold after a frame. One line per frame F (counted from 1), its clauses
// separated by ";"; a clause with "=", "<" or ">" is checked after frame F, any other happens
// before it:
//   key-down KEY | key-up KEY | mouse-move X Y | mouse-down B | mouse-up B   input
//   send NAME NUMBER | send NAME 'TEXT' | remove NAME    a global, as another chart would
//   set PATH NUMBER       a cell given a number, as if its chart had computed it
//   clock PATH MM:SS.HH   a time display's six digit cells set so
//   seek PATH SECONDS     the sound whose index PATH holds moved to SECONDS
//   store KEY JSON        a stored preference
//   step SECONDS          the frames from F on last SECONDS
//   pause                 the view paused and resumed
//   WHAT = VALUE          (also < and > for numbers)
// WHAT is a cell by its path from `Start` (each step a list cell holding one chart, or "cell#k"
// for its k-th: "menus.logosObj.totalTime") or one of
//   global NAME, globals (how many), stored KEY, alert (its lines joined by |), drawn (any pixel
//   not black), polygons, textures, sound PATH (playing or stopped, and the time), clock PATH,
//   glyph PATH K (the sheet cell u0 u1 v0 v1 of glyph K of the letters polygon whose index PATH
//   holds), glyphx PATH K (its middle x), glyphs PATH (how many), camera PATH (whether the
//   model-view matrix is the camera's zoom, tilt and height).
// Values print as numbers, 'texts', empty, undefined, none, [elements], yes or no.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "game_tree.h"

struct ChartRun {
  const char* name;
  std::vector<chart::ChartSource> standIns;
  std::string script;
};
inline void PrintTo(const ChartRun& run, std::ostream* out) { *out << run.name; }

class ChartRunTest : public GameTree, public ::testing::WithParamInterface<ChartRun> {
 protected:
  ChartRunTest() : GameTree(GetParam().standIns) {}
  void SetUp() override;

  // Runs the script to its last frame, checking every expectation.
  void play(const std::string& script);

 private:
  struct Line {
    int frame;
    std::string verb;
    std::string rest;
  };
  void intervene(const Line& line);
  void frameAndExpect(int frame, const std::vector<Line>& expectations, InputScript& input);
  std::string value(const std::string& what);

  std::string alert;
  Picture lastFrame;
};
