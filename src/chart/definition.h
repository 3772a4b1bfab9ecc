// A chart as written: its cells by index and name and its nodes, each with the name, the one
// action and the successor(s) of the chart's node table, so that a definition can be checked
// against its table line by line:
//
//   {"trunk0_3", decide("menus", "==", "EMPTY"), "branch0_13", "trunk0_4"},
//   {"trunk0_4", run(Global_variable_receive, {"EMPTY"}, "gvRestart"), "trunk0_5"},
//   {"branch0_16", set("width", 3), "branch0_17"},
//   {"branch0_45", appendText("gvWord", "TIME 00:00.00"), "branch0_46"},
//   {"branch0_20", equation("gvRestart = EMPTY"), "branch0_23"},
//   {"branch0_23", junction(), "trunk0_6"},
//   {"trunk0_8", run(Object_update_all, {"EMPTY", "menus"}), endOfPass},
//
// Names are resolved to indexes, and every definition verified, once when the registry is built.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "chart/commands.h"

namespace chart {

enum class NodeKind : std::uint8_t {
  Command,      // one command of the chart language on fixed cells
  Equation,     // Math.equation
  Decision,     // compares two cells, picks one of two successors
  Number,       // cell = constant
  TextLiteral,  // cell's text += literal
  TimeSegment,  // cell = the frame's length
  CreateChart,  // a new chart of the named class appended to an object-list cell
  Junction,     // where paths join or a loop closes; nothing
  PassThrough,  // nothing
};

// What one node does, as written.
struct NodeAction {
  NodeKind kind = NodeKind::PassThrough;
  Command command = Command::Math_equation;
  std::array<std::string_view, 2> arguments{};
  int argumentCount = 0;
  std::string_view result{};  // the written cell, where there is one
  std::string_view text{};    // operator, equation, literal or chart class name
  float number = 0.0f;
  bool inDouble = false;
};

inline NodeAction nodeOfKind(NodeKind kind) {
  NodeAction action;
  action.kind = kind;
  return action;
}

// A command on its argument cells (in the order they are checked) and its result cell.
inline NodeAction run(Command command, std::initializer_list<std::string_view> arguments,
                      std::string_view result = {}) {
  NodeAction action = nodeOfKind(NodeKind::Command);
  action.command = command;
  for (std::string_view argument : arguments) {
    if (action.argumentCount < 2) action.arguments[action.argumentCount] = argument;
    ++action.argumentCount;
  }
  action.result = result;
  return action;
}
// "result = expression" in 32-bit float.
inline NodeAction equation(std::string_view text) {
  NodeAction action = nodeOfKind(NodeKind::Equation);
  action.text = text;
  return action;
}
// "result = expression" computed in double precision and stored as a float.
inline NodeAction equationInDouble(std::string_view text) {
  NodeAction action = equation(text);
  action.inDouble = true;
  return action;
}
// Compares `left` and `right` with one of "==", ">", "<", ">=", "<=".
inline NodeAction decide(std::string_view left, std::string_view op, std::string_view right) {
  NodeAction action = nodeOfKind(NodeKind::Decision);
  action.arguments = {left, right};
  action.argumentCount = 2;
  action.text = op;
  return action;
}
// Number assignment.
inline NodeAction set(std::string_view cell, float value) {
  NodeAction action = nodeOfKind(NodeKind::Number);
  action.result = cell;
  action.number = value;
  return action;
}
// Text literal node: appends `literal` (UTF-8) to the cell's text.
inline NodeAction appendText(std::string_view cell, std::string_view literal) {
  NodeAction action = nodeOfKind(NodeKind::TextLiteral);
  action.result = cell;
  action.text = literal;
  return action;
}
inline NodeAction timeSegment(std::string_view cell) {
  NodeAction action = nodeOfKind(NodeKind::TimeSegment);
  action.result = cell;
  return action;
}
inline NodeAction create(std::string_view chartClass, std::string_view listCell) {
  NodeAction action = nodeOfKind(NodeKind::CreateChart);
  action.text = chartClass;
  action.result = listCell;
  return action;
}
inline NodeAction junction() { return nodeOfKind(NodeKind::Junction); }
inline NodeAction passThrough() { return nodeOfKind(NodeKind::PassThrough); }

// No successor: the pass ends after this node (or this decision outcome).
inline constexpr std::string_view endOfPass{};

struct NodeSource {
  std::string_view name;
  NodeAction action;
  std::string_view next;  // for a decision: the successor when true
  std::string_view nextIfFalse = endOfPass;
};

struct CellSource {
  int index;
  std::string_view name;
};

struct ChartSource {
  std::string_view name;
  int cellCount;                  // all cells, the thirteen constants included
  std::vector<CellSource> cells;  // the chart's own cells, from index 13
  std::vector<NodeSource> nodes;  // `trunk0_1` is the entry
};

}  // namespace chart
