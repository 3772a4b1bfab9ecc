// Small chart definitions run frame by frame, with the cells and globals they leave behind: the
// shape the chart runtime's tests take.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "chart/chart.h"
#include "chart/data.h"
#include "chart/registry.h"
#include "chart/utf16.h"
#include "engine/kiv_alert.h"
#include "support/fatal_alert.h"
#include "support/recording_services.h"

namespace chart::testing {

using enum Command;

// A test chart: its own cells get the indexes after the thirteen constants, in order; the one
// unnamed cell is added at the end.
inline ChartSource testChart(std::string_view name, std::vector<std::string_view> cells,
                             std::vector<NodeSource> nodes) {
  ChartSource source{name, 0, {}, std::move(nodes)};
  cells.push_back("");
  for (std::string_view cell : cells) {
    source.cells.push_back({kBuiltinCellCount + int(source.cells.size()), cell});
  }
  source.cellCount = kBuiltinCellCount + int(source.cells.size());
  return source;
}

// The actions one after another as trunk0_1, trunk0_2, ..., the last ending the pass.
inline std::vector<NodeSource> straight(const std::vector<NodeAction>& actions) {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> made;
    for (int at = 1; at <= 200; ++at) made.push_back("trunk0_" + std::to_string(at));
    return made;
  }();
  std::vector<NodeSource> nodes;
  for (std::size_t at = 0; at < actions.size(); ++at) {
    nodes.push_back({names.at(at), actions[at],
                     at + 1 == actions.size() ? endOfPass : std::string_view(names.at(at + 1))});
  }
  return nodes;
}

// A cell as the tables write it: "empty", "undefined", "2.5", "'text'", "numbers 4" (a list by
// its kind and size), with what clearing leaves behind: "empty math 7 text 'x'", "4 text 'x'".
inline std::string shown(const Cell& cell) {
  const auto number = [](float value) {
    char digits[32];
    return std::string(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
  };
  const std::string text = cell.text ? "'" + toUtf8(cell.text->units) + "'" : "no text";
  const std::string size = cell.object ? std::to_string(cell.object->size()) : "none";
  const std::string leftText = cell.text ? " text " + text : "";
  switch (cell.type) {
    case kEmpty:
      return "empty" + (cell.math != 0 ? " math " + number(cell.math) : "") + leftText +
             (cell.object ? " list" : "");
    case kUndefined: return "undefined" + leftText;
    case kNumber: return number(cell.math) + leftText;
    case kText: return text;
    case kObjectList: return "charts " + size;
    case kNumberList: return "numbers " + size;
    case kTextList: return "texts " + size;
  }
  return "type " + std::to_string(cell.type);
}

// The cell named `name`, const as the chart is; a missing name fails the test and gives the
// `EMPTY` constant.
template <typename AnyChart>
auto& cell(AnyChart& chart, std::string_view name) {
  const auto& names = chart.program().cellNames;
  const auto found = std::find(names.begin(), names.end(), name);
  if (found != names.end()) return chart.cells()[found - names.begin()];
  ADD_FAILURE() << chart.chartName() << " has no cell " << name;
  return chart.cells()[kEmptyConstant];
}

inline GlobalVariableDictionary& globals() {
  return chart::Data::share().globalVariableDictionary();
}

class ChartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine::KivAlert::share().throwInsteadOfExiting(true);
    chart::Data::share().globalVariableDictionary().removeAll();
  }
  void TearDown() override {
    for (Chart* chart : charts) Chart::release(chart);
    chart::Data::share().globalVariableDictionary().removeAll();
  }

  // Registers `sources` and makes a chart of the first one.
  Chart& load(const std::vector<ChartSource>& sources) {
    use(sources);
    return make(sources.front().name);
  }
  // A chart of `actions` one after another, run for one frame.
  Chart& ran(std::string_view name, std::vector<std::string_view> cells,
             const std::vector<NodeAction>& actions) {
    Chart& chart = load({testChart(name, std::move(cells), straight(actions))});
    frames(chart, 1);
    return chart;
  }
  // Registers `sources`; `make` then creates from them. Earlier registries live on for the
  // charts made from them.
  void use(const std::vector<ChartSource>& sources) {
    registries.push_back(std::make_unique<Registry>(sources));
  }
  Chart& make(std::string_view name) {
    charts.push_back(registries.back()->create(name, services));
    return *charts.back();
  }

  static void frames(Chart& chart, int count) {
    for (int frame = 0; frame < count; ++frame) chart.update(kDefaultSnippet);
  }

  RecordingServices recording;
  // What `make` gives the charts it creates: the recording stand-ins unless a test puts the
  // real services in.
  engine::Services services = recording.services();
  std::vector<std::unique_ptr<Registry>> registries;
  std::vector<Chart*> charts;
};

}  // namespace chart::testing
