// The game's chart tree in a real headless view with the real engine, some charts replaced by
// test stand-ins, and ways to look into it without touching it.
#pragma once

#include <algorithm>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "chart/utf16.h"
#include "charts/game_charts.h"
#include "engine/engine_services.h"
#include "engine/kiv_audio.h"
#include "support/chart_test_support.h"
#include "support/headless_view.h"
#include "support/picture.h"

namespace chart_tree {

using chart::testing::cell;

// The charts in the object-list cell `name`, in list order; none when the cell is empty.
inline std::vector<const chart::Chart*> children(const chart::Chart& chart, std::string_view name) {
  std::vector<const chart::Chart*> found;
  const chart::Cell& list = cell(chart, name);
  for (std::size_t at = 0;
       list.type == chart::kObjectList && list.object && at < list.object->size(); ++at) {
    if (const auto* child = std::get_if<chart::Chart*>(&(*list.object)[at])) {
      found.push_back(*child);
    }
  }
  return found;
}

inline const chart::GlobalEntry* global(std::string_view name) {
  return chart::Data::share().globalVariableDictionary().find(name);
}

}  // namespace chart_tree

// The game's tree; charts named by `standIns` replace the game's own of the same name. Chart
// frame n is the view's frame n + 1: the view's first frame runs no chart.
class GameTree : public HeadlessView {
 protected:
  explicit GameTree(std::vector<chart::ChartSource> replacements = {})
      : standIns(std::move(replacements)) {}

  std::unique_ptr<RootChart> makeRoot() override {
    std::vector<chart::ChartSource> sources = gameCharts();
    for (chart::ChartSource& standIn : standIns) {
      auto same = std::find_if(sources.begin(), sources.end(),
                               [&](const chart::ChartSource& s) { return s.name == standIn.name; });
      if (same != sources.end()) *same = standIn;
    }
    return std::make_unique<RootChart>(sources, engineServices());
  }

  void SetUp() override {
    chart::Data::share().globalVariableDictionary().removeAll();
    HeadlessView::SetUp();
    // Sounds advance only when a test plays them on, never with the machine's own time.
    if (platform::AudioOutput* output = engine::KivAudio::share().audioOutput())
      output->stopClock();
    step();  // the view's empty first frame
  }

  const chart::Chart& start() const { return view->rootChart().chart(); }

  std::vector<chart::ChartSource> standIns;
};
