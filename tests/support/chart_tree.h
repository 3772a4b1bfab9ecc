// Looking into a running chart tree without touching it: a chart's cells by name, the charts in
// its list cells, and the global variables.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "chart/chart.h"
#include "chart/data.h"
#include "chart/utf16.h"

namespace chart_tree {

// The cell named `name`; a missing name fails the test and gives the `EMPTY` constant.
inline const chart::Cell& cell(const chart::Chart& chart, std::string_view name) {
  const auto& names = chart.program().cellNames;
  for (std::size_t at = 0; at < names.size(); ++at) {
    if (names[at] == name) return chart.cells()[at];
  }
  ADD_FAILURE() << chart.chartName() << " has no cell " << name;
  return chart.cells()[chart::kEmptyConstant];
}

inline bool isEmpty(const chart::Chart& chart, std::string_view name) {
  return cell(chart, name).type == chart::kEmpty;
}

// The cell's number; a cell holding none fails the test and gives 0.
inline float number(const chart::Chart& chart, std::string_view name) {
  const chart::Cell& found = cell(chart, name);
  if (found.type == chart::kNumber || found.type == chart::kUndefined) return found.math;
  ADD_FAILURE() << chart.chartName() << "'s " << name << " holds no number";
  return 0.0f;
}

// The cell's text; "(no text)" when it holds none.
inline std::string text(const chart::Chart& chart, std::string_view name) {
  const chart::Cell& found = cell(chart, name);
  return found.type == chart::kText && found.text ? chart::toUtf8(found.text->units)
                                                  : "(no text)";
}

// The charts in the object-list cell `name`, in list order; none when the cell is empty.
inline std::vector<const chart::Chart*> children(const chart::Chart& chart,
                                                 std::string_view name) {
  std::vector<const chart::Chart*> found;
  const chart::Cell& list = cell(chart, name);
  if (list.type != chart::kObjectList || !list.object) return found;
  for (std::size_t at = 0; at < list.object->size(); ++at) {
    const auto* child = std::get_if<chart::Chart*>(&(*list.object)[at]);
    if (child) found.push_back(*child);
  }
  return found;
}

// The one chart in the list cell `name`, or null when the cell holds none; more than one fails.
inline const chart::Chart* child(const chart::Chart& chart, std::string_view name) {
  const auto found = children(chart, name);
  EXPECT_LE(found.size(), 1u) << chart.chartName() << "'s " << name;
  return found.empty() ? nullptr : found.front();
}

// The global variable `name`, or null when none is stored.
inline const chart::GlobalEntry* global(std::string_view name) {
  return Data::share().globalVariableDictionary().find(name);
}

}  // namespace chart_tree
