// Sending, receiving and removing global variables. Sending shares the sender's text or list;
// receiving copies texts and number or text lists and shares chart objects.
#include <utility>

#include "chart/actions.h"
#include "chart/chart.h"
#include "chart/data.h"
#include "chart/diagnostics.h"

namespace chart {

namespace {

GlobalVariableDictionary& dictionary() { return chart::Data::share().globalVariableDictionary(); }

bool sameText(const Text* left, const Text* right) {
  return left != nullptr && right != nullptr && left->units == right->units;
}

// Whether an entry's key fits the key argument: the `EMPTY` constant asks for an entry without
// a key text (`exactKey`) or for any entry (not `exactKey`); a text asks for an equal key text.
bool keyMatches(const GlobalEntry& entry, Chart& chart, std::uint16_t keyCell, bool exactKey) {
  if (keyCell == kEmptyConstant) return !exactKey || entry.key == nullptr;
  return sameText(entry.key, chart.cell(keyCell).text);
}

void takeValue(Chart& chart, const GlobalEntry& entry, Cell& result) {
  if (entry.valueType == kNumber) {
    storeTakenNumber(result, entry.number);
  } else if (entry.text != nullptr) {
    if (result.text == nullptr) {
      if (Text* spare = chart.takeSpareText()) {
        result.text = spare;
        result.type = kText;
      }
    }
    ensureText(result).units.assign(entry.text->units);
  } else if (entry.list != nullptr) {
    const List& sent = *entry.list;
    CellType kind = CellType(entry.valueType);
    if (sent.size() > 0) {
      if (std::holds_alternative<float>(sent[0])) kind = kNumberList;
      else if (std::holds_alternative<std::u16string>(sent[0])) kind = kTextList;
      else kind = kObjectList;
    }
    List& list = ensureList(result, kind);
    // The result may hold the very list that was sent: add only what it held before.
    const std::size_t count = sent.size();
    for (std::size_t at = 0; at < count; ++at) list.append(sent[at]);
  }
}

}  // namespace

void globalVariableSend(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Global_variable_send, 0, node.arguments[0]);
  checkArgument(chart, Command::Global_variable_send, 1, node.arguments[1]);
  Cell& variable = chart.cell(node.arguments[0]);
  GlobalEntry entry;
  entry.valueType = variable.type;
  if (variable.type == kNumber) {
    entry.hasValue = true;
    entry.number = variable.math;
  } else if (variable.type == kText) {
    entry.hasValue = true;
    entry.text = &ensureText(variable);
    entry.text->retain();
  } else if (variable.type != kUndefined && variable.object != nullptr) {
    entry.hasValue = true;
    entry.list = variable.object;
    entry.list->retain();
  }
  Text* const key = chart.cell(node.arguments[1]).text;
  if (entry.hasValue && node.arguments[1] != kEmptyConstant && key != nullptr) {
    entry.key = key;
    key->retain();
  }
  dictionary().store(node.index, entry);
}

void globalVariableReceive(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Global_variable_receive, 0, node.arguments[0]);
  const GlobalEntry* entry = dictionary().find(node.index);
  Cell& result = chart.cell(node.result);
  if (entry != nullptr && entry->hasValue && keyMatches(*entry, chart, node.arguments[0], false)) {
    takeValue(chart, *entry, result);
  } else if (result.object == nullptr && result.text != nullptr && !result.text->shared()) {
    // Emptied as `clearCell` would, but the text is kept for the chart's next receive.
    chart.keepSpareText(std::exchange(result.text, nullptr));
    result.type = kEmpty;
  } else {
    clearCell(result);
  }
}

void globalVariableRemove(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Global_variable_remove, 0, node.arguments[0]);
  checkArgument(chart, Command::Global_variable_remove, 1, node.arguments[1]);
  const GlobalEntry* entry = dictionary().find(node.index);
  if (entry != nullptr && entry->hasValue && keyMatches(*entry, chart, node.arguments[1], true)) {
    dictionary().remove(node.index);
  }
}

void globalVariableRemoveAll(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Global_variable_remove_all, 0, node.arguments[0]);
  dictionary().removeAll();
}

}  // namespace chart
