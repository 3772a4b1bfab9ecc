#include "chart/chart.h"

#include "chart/data.h"
#include "chart/registry.h"
#include "chart/trace.h"

namespace chart {

namespace {

// A copy of `list` with its own references (charts are shared, not copied).
List* copyList(const List& list) {
  List* copy = List::create();
  for (std::size_t at = 0; at < list.size(); ++at) copy->append(list[at]);
  return copy;
}

}  // namespace

Chart::Chart(const Registry& registry, const Program& program, const engine::Services& services)
    : registry_(&registry),
      program_(&program),
      services_(services),
      cells_(new Cell[program.cellCount()]),
      traced(runsTraced(program.name)) {}

Chart* Chart::create(const Registry& registry, std::uint32_t programIndex,
                     const engine::Services& services) {
  auto* chart = new Chart(registry, registry.program(programIndex), services);
  setBuiltinConstants(chart->cells());
  return chart;
}

void Chart::release(Chart* chart) {
  if (chart == nullptr || --chart->references > 0) return;
  chart->dealloc();
  delete chart;
}

void Chart::dealloc() {
  for (int kind = 0; kind < kResourceKinds; ++kind) {
    for (float entry : deallocArrays[kind]) {
      const auto index = static_cast<std::int32_t>(entry);
      switch (Resource(kind)) {
        case Resource::Polygon: services_.polygons->removePolygons(index); break;
        case Resource::Picking: services_.polygons->removePicking(index); break;
        case Resource::Lighting: services_.polygons->removeLighting(index); break;
        case Resource::Image: services_.textures->deleteTexture(index); break;
        case Resource::Sound: services_.audio->removeSound(index); break;
      }
    }
    deallocArrays[kind].clear();
  }
  for (Cell& cell : cells()) releaseCell(cell);
  Text::release(takeSpareText());
}

void Chart::keepSpareText(Text* text) {
  if (spareText == nullptr) {
    spareText = text;
  } else {
    Text::release(text);
  }
}

void Chart::announceToServices() const {
  services_.audio->setActiveChart(chartName());
  services_.polygons->setActiveChart(chartName());
  services_.textures->setActiveChart(chartName());
}

void Chart::update(std::string_view snippet) {
  announceToServices();
  if (snippet != kDefaultSnippet) return;
  chart::Data::share().setSelectedSnippet(snippet);
  if (traced) {
    runFrom<true>(program_->entry);
  } else {
    runFrom<false>(program_->entry);
  }
}

void Chart::setVariable(const Cell& value, std::string_view name) {
  for (std::size_t at = 0; at < program_->cellCount(); ++at) {
    if (program_->cellNames[at] != name) continue;
    Cell copy = value;
    copy.text = value.text ? Text::create(value.text->units) : nullptr;
    copy.object = value.object ? copyList(*value.object) : nullptr;
    Cell replaced = cells_[at];
    cells_[at] = copy;
    releaseCell(replaced);
    return;
  }
}

Cell Chart::variableFromString(std::string_view name) const {
  std::size_t found = kEmptyConstant;
  for (std::size_t at = 0; at < program_->cellCount(); ++at) {
    if (program_->cellNames[at] == name) found = at;
  }
  Cell copy = cells_[found];
  copy.text = copy.text ? Text::create(copy.text->units) : nullptr;
  copy.object = copy.object ? copyList(*copy.object) : nullptr;
  return copy;
}

void Chart::recordForDealloc(Resource kind, std::int32_t index) {
  deallocArrays[unsigned(kind)].push_back(static_cast<float>(index));
}

}  // namespace chart
