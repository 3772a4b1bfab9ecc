// The one object every part of the game can reach: the dictionary of global variables through
// which charts talk to each other, the length of the current frame, the name of the chart and
// snippet being run, and the input event of the frame. It holds bookkeeping only; the view hands
// down the frame's values at its start and the chart runtime reads and writes the rest.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "chart/global_variables.h"
#include "platform/events.h"

namespace chart {

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

  // Handed down by the view at the start of each frame: the frame's length in seconds, measured
  // from consecutive frame times, and the most recent key or mouse-button event, which stays
  // current until the next one.
  void startFrame(float seconds, const platform::InputEvent& event) {
    timeSegment_ = seconds;
    theCurrentEvent = event;
  }
  float timeSegment() const { return timeSegment_; }
  const platform::InputEvent& currentEvent() const { return theCurrentEvent; }
  // No view runs frames any more: the charts see no event.
  void clearCurrentEvent() { theCurrentEvent = {}; }

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
  float timeSegment_ = 0;
  platform::InputEvent theCurrentEvent;
  std::string theSelectedChart;
  std::string theSelectedSnippet;
};

}  // namespace chart
