// Equations, trigonometry, number to text, and building, measuring and taking apart texts.
#include <cmath>
#include <cstdio>

#include "chart/actions.h"
#include "chart/chart.h"
#include "chart/diagnostics.h"

namespace chart {

namespace {

std::size_t lengthOf(const Cell& cell) { return cell.text ? cell.text->units.size() : 0; }

}  // namespace

void mathEquation(Chart& chart, const Node& node) {
  const Equation& equation = chart.program().equations[node.index];
  const std::span<Cell> cells = chart.cells();
  // An empty operand is a value: it empties the result, without any check.
  for (std::uint16_t operand : equation.operands) {
    if (cells[operand].type == kEmpty) {
      clearCell(cells[node.result]);
      return;
    }
  }
  for (std::uint16_t operand : equation.operands) {
    // A number without a leftover text passes; only other cells need the full check.
    const Cell& cell = cells[operand];
    const bool number = cell.type == kNumber || cell.type == kUndefined;
    if (!number || cell.text != nullptr) checkArgument(chart, Command::Math_equation, 0, operand);
  }
  storeNumber(cells[node.result], evaluateEquation(equation, cells.data()));
}

void mathSine(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Math_sine, 0, node.arguments[0]);
  storeTakenNumber(chart.cell(node.result), std::sin(chart.cell(node.arguments[0]).math));
}

void mathCosine(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Math_cosine, 0, node.arguments[0]);
  storeTakenNumber(chart.cell(node.result), std::cos(chart.cell(node.arguments[0]).math));
}

void mathToText(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Math_to_text, 0, node.arguments[0]);
  char digits[32];
  const int length =
      std::snprintf(digits, sizeof digits, "%.7g", double(chart.cell(node.arguments[0]).math));
  std::u16string& units = ensureText(chart.cell(node.result)).units;
  units.assign(digits, digits + length);
}

void textAdd(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Text_add, 0, node.arguments[0]);
  const Cell& source = chart.cell(node.arguments[0]);
  Cell& result = chart.cell(node.result);
  if (clearedForEmptySource(source, result)) return;
  // Read the source's text before the result's can be created: they may be the same cell.
  const Text* const added = source.text;
  Text& text = ensureText(result);
  if (added != nullptr) text.units += added->units;
}

void textRemoveAll(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Text_remove_all, 0, node.arguments[0]);
  ensureText(chart.cell(node.arguments[0])).units.clear();
}

void textLength(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Text_length, 0, node.arguments[0]);
  storeTakenNumber(chart.cell(node.result), float(lengthOf(chart.cell(node.arguments[0]))));
}

void textSelectedIndex(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Text_selected_index, 0, node.arguments[0]);
  chart.cell(kSelectedText).math = chart.cell(node.arguments[0]).math;
}

void textSelectedCharacter(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Text_selected_character, 0, node.arguments[0]);
  const float index = chart.cell(kSelectedText).math;
  const std::size_t length = lengthOf(chart.cell(node.arguments[0]));
  checkIndex(chart, Command::Text_selected_character, node.arguments[0], index, length);
  const char16_t unit = chart.cell(node.arguments[0]).text->units[std::size_t(index)];
  ensureText(chart.cell(node.result)).units.assign(1, unit);
}

void textCharacterToNumber(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Text_character_to_number, 0, node.arguments[0]);
  const Cell& text = chart.cell(node.arguments[0]);
  Cell& result = chart.cell(node.result);
  // An empty text has no first character: the result is empty, as for any missing value.
  if (lengthOf(text) == 0) {
    clearCell(result);
    return;
  }
  storeTakenNumber(result, float(text.text->units[0]));
}

}  // namespace chart
