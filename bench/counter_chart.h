// The chart loop `loop = loop + 1` while `loop < total`: a decision, an equation and a junction
// per turn, all the turns in one frame. Shared by the node-loop benchmark and the comparison with
// the scripting language.
#pragma once

#include "chart/definition.h"

inline chart::ChartSource counterChart(float turns) {
  using namespace chart;
  return {"Counter",
          16,
          {{13, "loop"}, {14, "total"}, {15, ""}},
          {{"trunk0_1", set("loop", 0), "trunk0_2"},
           {"trunk0_2", set("total", turns), "trunk0_3"},
           {"trunk0_3", decide("loop", "<", "total"), "trunk0_4", endOfPass},
           {"trunk0_4", equation("loop = loop + 1"), "branch0_5"},
           {"branch0_5", junction(), "trunk0_3"}}};
}
