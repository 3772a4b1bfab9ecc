// The chart tree the view drives once a frame with the snippet "Start": the registry of every
// chart definition, built and verified once, and the root chart made from it with the engine
// services.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "chart/chart.h"
#include "chart/definition.h"
#include "chart/node_counts.h"
#include "chart/registry.h"
#include "engine/services.h"

class RootChart {
 public:
  // Registers `sources` (a broken definition is a fatal alert here) and creates the chart named
  // "Start" from them; it runs nothing until its first update. With `countNodes`, every chart of
  // the tree counts the nodes it runs (on the traced path) into `nodeCounts`.
  RootChart(const std::vector<chart::ChartSource>& sources, const engine::Services& services,
            bool countNodes = false);
  // Tears the tree down, and with it the globals its charts sent, which may hold its charts:
  // nothing made from the registry outlives it.
  ~RootChart();
  RootChart(const RootChart&) = delete;
  RootChart& operator=(const RootChart&) = delete;

  void update(std::string_view snippet) { start->update(snippet); }
  // One frame of the game: the tree entered with "Start", then the preferences' frame ended,
  // which gives up the lock a preference command of this frame took.
  void runFrame();

  // The root of the tree, for looking into it.
  const chart::Chart& chart() const { return *start; }
  // How often each node ran so far; null unless counting.
  const chart::NodeCounts* nodeCounts() const { return counts.get(); }

 private:
  chart::Registry registry;
  std::unique_ptr<chart::NodeCounts> counts;
  chart::Chart* start = nullptr;
};

// The game's own: the nine game charts, the engine's services.
std::unique_ptr<RootChart> makeStartChart(bool countNodes = false);
