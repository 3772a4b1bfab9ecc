// The one object every part of the game can reach: the dictionary of global variables through
// which charts talk to each other, the length of the current frame, the name of the chart and
// snippet being run, and the application view. It holds bookkeeping only; the view writes the
// frame's length and the chart runtime reads and writes the rest.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "chart/global_variables.h"
#include "engine/game_view.h"

class Data {
 public:
  // The process-wide instance, created with its initial values on first use, never released.
  static Data& share();

  // Global variables by name (entry format in chart/global_variables.h); callers change the
  // dictionary in place.
  chart::GlobalVariableDictionary& globalVariableDictionary() {
    return theGlobalVariableDictionary;
  }

  // The folder holding `kivResources`, where the charts' picture and sound names are found.
  void setResourcePath(std::string path) { theResourcePath = std::move(path); }
  const std::string& resourcePath() const { return theResourcePath; }

  void setOpenGLView(engine::GameView* view) { theOpenGLView = view; }
  engine::GameView* openGLView() const { return theOpenGLView; }

  // The length of the current frame in seconds, measured by the view from consecutive frame
  // times.
  void setTimeSegment(float seconds) { timeSegment_ = seconds; }
  float timeSegment() const { return timeSegment_; }

  // Names of the chart whose flow is running and of the snippet it was entered with. Empty
  // until a chart first runs. Assigning reuses the strings' storage, so the per-frame calls do
  // not allocate once the longest name has been seen.
  void setSelectedChart(std::string_view name) { theSelectedChart.assign(name); }
  const std::string& selectedChart() const { return theSelectedChart; }
  void setSelectedSnippet(std::string_view name) { theSelectedSnippet.assign(name); }
  const std::string& selectedSnippet() const { return theSelectedSnippet; }

 private:
  Data() = default;

  chart::GlobalVariableDictionary theGlobalVariableDictionary;
  std::string theResourcePath;
  engine::GameView* theOpenGLView = nullptr;
  float timeSegment_ = 0;
  std::string theSelectedChart;
  std::string theSelectedSnippet;
};
