// The one object every part of the game can reach: the dictionary of global variables through
// which charts talk to each other, the timing of the current frame, the name of
// the chart and snippet being run, the removal counters the chart runtime compares against, and
// the application view. It holds bookkeeping only; the view writes the frame timing and the chart
// runtime reads and writes the rest.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "chart/global_variables.h"
#include "engine/game_view.h"

class Data {
 public:
  using Date = std::chrono::steady_clock::time_point;

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

  // The timestamp of the start of the current frame; a new one clears the frame's skipped total.
  void setTimeDate(Date date);
  void setTimeSegment(float seconds) { timeSegment_ = seconds; }
  float timeSegment() const { return timeSegment_; }

  // A skip bracket measures the wall-clock time of a slow operation (a load) relative to the
  // frame timestamp. `now` is a parameter so the arithmetic can be checked at chosen times.
  void startTimeSkip(Date now = Date::clock::now());
  void endTimeSkip(Date now = Date::clock::now());
  void addTime() { skipDate = 0; }
  float skipDateSeconds() const { return skipDate; }
  float totalSkipDateSeconds() const { return totalSkipDate; }

  std::int32_t removePolygonCount() const { return removePolygonCount_; }
  std::int32_t removePickingCount() const { return removePickingCount_; }
  std::int32_t removeLightingCount() const { return removeLightingCount_; }
  std::int32_t removeImageCount() const { return removeImageCount_; }
  std::int32_t removeSoundCount() const { return removeSoundCount_; }
  void changePolygonCount() { ++removePolygonCount_; }
  void changePickingCount() { ++removePickingCount_; }
  void changeLightingCount() { ++removeLightingCount_; }
  void changeImageCount() { ++removeImageCount_; }
  void changeSoundCount() { ++removeSoundCount_; }

  void setFullScreen(bool fullScreen) { fullScreen_ = fullScreen; }
  bool fullScreen() const { return fullScreen_; }
  // The view clears colour and depth at the start of every frame while this holds; nothing
  // in the game turns it off.
  bool screenClear() const { return true; }

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
  Date theOldDate{};
  bool hasOldDate = false;
  float timeSegment_ = 0;
  float skipDate = 0;
  float totalSkipDate = 0;
  std::int32_t removePolygonCount_ = 0;
  std::int32_t removePickingCount_ = 0;
  std::int32_t removeLightingCount_ = 0;
  std::int32_t removeImageCount_ = 0;
  std::int32_t removeSoundCount_ = 0;
  bool fullScreen_ = false;
  std::string theSelectedChart;
  std::string theSelectedSnippet;
};
