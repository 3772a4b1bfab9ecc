#include "app/root_chart.h"

#include "app/data.h"

namespace {

class IdleStart final : public RootChart {
 public:
  void update(std::string_view snippet) override {
    // Entering a chart's flow names it the running chart, as every chart does.
    Data::share().setSelectedChart("Start");
    Data::share().setSelectedSnippet(snippet);
  }
};

}  // namespace

std::unique_ptr<RootChart> makeStartChart() { return std::make_unique<IdleStart>(); }
