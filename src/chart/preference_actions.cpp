// Opening and saving preferences: numbers, texts and lists of either under a key text.
#include <nlohmann/json.hpp>

#include "chart/actions.h"
#include "chart/chart.h"
#include "chart/diagnostics.h"
#include "chart/preferences.h"
#include "chart/utf16.h"

namespace chart {

namespace {

std::string keyOf(const Cell& cell) { return cell.text ? toUtf8(cell.text->units) : std::string(); }

// Appends the numbers and strings of a stored array; the file may have been edited by hand, so
// anything else in it is passed over.
void appendElements(const nlohmann::json& array, List& list) {
  for (const nlohmann::json& element : array) {
    if (element.is_number()) list.append(element.get<float>());
    if (element.is_string()) list.append(toUtf16(element.get<std::string>()).value_or(u""));
  }
}

std::optional<nlohmann::json> storedForm(const Cell& value) {
  switch (value.type) {
    case kNumber: return nlohmann::json(value.math);
    case kText: return nlohmann::json(value.text ? toUtf8(value.text->units) : std::string());
    case kNumberList:
    case kTextList: {
      if (value.object == nullptr) return std::nullopt;
      nlohmann::json array = nlohmann::json::array();
      for (std::size_t at = 0; at < value.object->size(); ++at) {
        const ListElement& element = (*value.object)[at];
        if (const float* number = std::get_if<float>(&element)) array.push_back(*number);
        if (const auto* text = std::get_if<std::u16string>(&element)) array.push_back(toUtf8(*text));
      }
      return array;
    }
    default: return std::nullopt;  // an undefined number removes the key
  }
}

}  // namespace

void preferenceOpen(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Preference_open, 0, node.arguments[0]);
  // What other games saved is seen from here to the end of the frame; without the lock, the
  // values last read.
  Preferences& preferences = Preferences::share();
  preferences.holdLock();
  const nlohmann::json* stored = preferences.find(keyOf(chart.cell(node.arguments[0])));
  Cell& result = chart.cell(node.result);
  if (stored == nullptr) {
    clearCell(result);
  } else if (stored->is_number()) {
    storeTakenNumber(result, stored->get<float>());
  } else if (stored->is_string()) {
    ensureText(result).units = toUtf16(stored->get<std::string>()).value_or(u"");
  } else if (stored->is_array() && !stored->empty() && stored->front().is_number()) {
    appendElements(*stored, ensureList(result, kNumberList));
  } else if (stored->is_array() && !stored->empty() && stored->front().is_string()) {
    appendElements(*stored, ensureList(result, kTextList));
  }
}

void preferenceSave(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Preference_save, 0, node.arguments[0]);
  checkArgument(chart, Command::Preference_save, 1, node.arguments[1]);
  Preferences::share().save(keyOf(chart.cell(node.arguments[0])),
                            storedForm(chart.cell(node.arguments[1])));
}

}  // namespace chart
