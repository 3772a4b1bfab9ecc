// The chart the view drives once a frame with the snippet "Start".
#pragma once

#include <memory>
#include <string_view>

class RootChart {
 public:
  virtual ~RootChart() = default;
  virtual void update(std::string_view snippet) = 0;
};

// Creates the game's root chart. The Start chart goes here once the chart runtime can run it;
// until then an idle root chart takes its place: it records that it ran and draws nothing.
std::unique_ptr<RootChart> makeStartChart();
