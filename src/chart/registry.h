// Every chart definition of the program, compiled and verified once at start-up. A broken
// definition is a programming error: it is reported then, naming the chart and the node, as a
// fatal alert, never at some later frame. The registry is immutable afterwards and must outlive
// the charts made from it.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "chart/definition.h"
#include "chart/program.h"
#include "engine/services.h"

namespace chart {

class Chart;

class Registry {
 public:
  explicit Registry(const std::vector<ChartSource>& sources);

  std::optional<std::uint32_t> find(std::string_view chartName) const;
  const Program& program(std::uint32_t index) const { return programs[index]; }
  std::uint32_t size() const { return std::uint32_t(programs.size()); }
  // The index of one of this registry's programs, without a search.
  std::uint32_t indexOf(const Program& program) const {
    return std::uint32_t(&program - programs.data());
  }

  // A new chart of the named class, as a chart-creation node makes one; the one reference is
  // the caller's (`Chart::release`). An unknown name is a fatal alert.
  Chart* create(std::string_view chartName, const engine::Services& services) const;

 private:
  std::vector<Program> programs;
};

}  // namespace chart
