// The game's chart tree in a real headless view with the real engine, some charts replaced by
// test stand-ins; and the stand-ins themselves, which count their updates.
#pragma once

#include <algorithm>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "chart/chart_test_support.h"
#include "charts/game_charts.h"
#include "engine/engine_services.h"
#include "engine/kiv_audio.h"
#include "support/chart_tree.h"
#include "support/headless_view.h"
#include "support/picture.h"

// A stand-in that counts its updates in `updates` and then runs `nodes` (entered at
// "trunk0_3"; none: the pass ends there).
inline chart::ChartSource countingStandIn(std::string_view name,
                                          std::vector<std::string_view> cells,
                                          std::vector<chart::NodeSource> nodes = {}) {
  using namespace chart;
  cells.push_back("updates");
  std::vector<NodeSource> all = {
      {"trunk0_1", decide("updates", "==", "EMPTY"), "branch0_1", "trunk0_2"},
      {"branch0_1", set("updates", 0), "trunk0_2"},
      {"trunk0_2", equation("updates = updates + 1"), nodes.empty() ? endOfPass : "trunk0_3"},
  };
  all.insert(all.end(), nodes.begin(), nodes.end());
  return chart::testing::testChart(name, std::move(cells), std::move(all));
}

// What another chart would send or remove: a global number, a global text.
inline void sendGlobal(std::string_view name, std::variant<float, std::u16string_view> value) {
  auto& globals = Data::share().globalVariableDictionary();
  chart::GlobalEntry entry;
  entry.hasValue = true;
  if (const float* number = std::get_if<float>(&value)) {
    entry.valueType = chart::kNumber;
    entry.number = *number;
  } else {
    entry.valueType = chart::kText;
    entry.text = chart::Text::create(std::get<std::u16string_view>(value));
  }
  globals.store(globals.keyFor(name), entry);
}
inline void removeGlobal(std::string_view name) {
  auto& globals = Data::share().globalVariableDictionary();
  globals.remove(globals.keyFor(name));
}

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
    Data::share().globalVariableDictionary().removeAll();
    HeadlessView::SetUp();
    // Sounds advance only when a test plays them on, never with the machine's own time.
    if (platform::AudioOutput* output = KivAudio::share().audioOutput()) output->stopClock();
    step();  // the view's empty first frame
  }

  // Runs chart frames until `start` has had `count` more updates.
  void frames(int count, InputScript* script = nullptr) {
    for (int at = 0; at < count; ++at) step(script);
  }

  const chart::Chart& start() const { return view->rootChart().chart(); }

  std::vector<chart::ChartSource> standIns;
};
