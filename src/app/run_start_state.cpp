#include "app/run_start_state.h"

#include <variant>

#include "chart/chart.h"
#include "chart/global_variables.h"
#include "chart/utf16.h"

namespace {

constexpr std::string_view kCameraChart = "Camera";

const chart::Cell* namedCell(const chart::Chart& chart, std::string_view name) {
  const auto& names = chart.program().cellNames;
  for (std::size_t at = chart::kBuiltinCellCount; at < names.size(); ++at) {
    if (names[at] == name) return &chart.cells()[at];
  }
  return nullptr;
}

// The first chart of a list: how charts hold the charts they made or received.
chart::Chart* firstChart(const chart::List* list) {
  if (list == nullptr || list->size() == 0) return nullptr;
  chart::Chart* const* held = std::get_if<chart::Chart*>(&(*list)[0]);
  return held != nullptr ? *held : nullptr;
}

}  // namespace

RunStartState::RunStartState(chart::GlobalVariableDictionary& dictionary)
    : globals(dictionary),
      gameTypeKey(dictionary.keyFor("gvGameType")),
      exitStatsKey(dictionary.keyFor("gvExitStats")),
      cameraKey(dictionary.keyFor("gvCamera")) {}

bool RunStartState::modeChosen() const { return globals.find(gameTypeKey) != nullptr; }

std::string RunStartState::chosenMode() const {
  const chart::GlobalEntry* entry = globals.find(gameTypeKey);
  if (entry == nullptr || entry->text == nullptr) return {};
  return chart::toUtf8(entry->text->units);
}

bool RunStartState::cameraExists() const {
  const chart::GlobalEntry* entry = globals.find(cameraKey);
  return entry != nullptr && firstChart(entry->list) != nullptr;
}

std::vector<CellState> RunStartState::cameraCells() const {
  std::vector<CellState> cells;
  const chart::GlobalEntry* entry = globals.find(cameraKey);
  const chart::Chart* camera = entry != nullptr ? firstChart(entry->list) : nullptr;
  if (camera == nullptr) return cells;
  const auto& names = camera->program().cellNames;
  for (std::size_t at = chart::kBuiltinCellCount; at < names.size(); ++at) {
    const chart::Cell& cell = camera->cells()[at];
    if (!names[at].empty() && cell.type == chart::kNumber) {
      cells.push_back({std::string(kCameraChart), names[at], cell.math});
    }
  }
  return cells;
}

void RunStartState::apply(const std::string& mode, const std::vector<CellState>& cells) {
  const chart::GlobalEntry* entry = globals.find(cameraKey);
  if (chart::Chart* camera = entry != nullptr ? firstChart(entry->list) : nullptr) {
    for (const CellState& state : cells) {
      const auto& names = camera->program().cellNames;
      for (std::size_t at = chart::kBuiltinCellCount; at < names.size(); ++at) {
        if (state.chart == kCameraChart && names[at] == state.cell) {
          chart::storeTakenNumber(camera->cell(std::uint16_t(at)), state.value);
        }
      }
    }
  }
  chart::GlobalEntry gameType;
  gameType.hasValue = true;
  gameType.valueType = chart::kText;
  gameType.text = chart::Text::create(chart::toUtf16(mode).value_or(u""));
  globals.store(gameTypeKey, gameType);
  chart::GlobalEntry exitStats;
  exitStats.hasValue = true;
  exitStats.valueType = chart::kNumber;
  exitStats.number = 1.0f;  // YES
  globals.store(exitStatsKey, exitStats);
}

bool gameScreenRuns(const RootChart& root) {
  const chart::Cell* menus = namedCell(root.chart(), "menus");
  const chart::Chart* director = menus != nullptr ? firstChart(menus->object) : nullptr;
  const chart::Cell* menu = director != nullptr ? namedCell(*director, "menu") : nullptr;
  return menu != nullptr && menu->type == chart::kText && menu->text != nullptr &&
         menu->text->units == u"Game";
}
