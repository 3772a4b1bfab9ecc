#include "chart/trace.h"

#include <cstdio>
#include <string>
#include <vector>

#include "chart/chart.h"
#include "chart/node_counts.h"
#include "chart/utf16.h"

namespace chart {

namespace {

// Chart names given with `--trace`; a debugging setting of the whole process.
std::vector<std::string>& tracedNames() {
  static std::vector<std::string> names;
  return names;
}

// Where `--count-nodes` counts; null when it is off.
NodeCounts*& activeCounts() {
  static NodeCounts* counts = nullptr;
  return counts;
}

std::string describeElement(const ListElement& element) {
  if (const float* number = std::get_if<float>(&element)) return std::to_string(*number);
  if (const auto* text = std::get_if<std::u16string>(&element)) return '"' + toUtf8(*text) + '"';
  return std::string(std::get<Chart*>(element)->chartName());
}

std::string describe(const Cell& cell) {
  char number[32];
  std::snprintf(number, sizeof number, "%.7g", double(cell.math));
  switch (cell.type) {
    case kEmpty: return "empty";
    case kUndefined: return std::string("undefined ") + number;
    case kNumber: return number;
    case kText: return cell.text ? '"' + toUtf8(cell.text->units) + '"' : "text (none)";
    default: break;
  }
  if (cell.object == nullptr) return "list (none)";
  std::string out = "[";
  for (std::size_t at = 0; at < cell.object->size(); ++at) {
    if (at > 0) out += ", ";
    out += describeElement((*cell.object)[at]);
  }
  return out + "]";
}

std::string_view actionName(const Node& node) {
  if (node.opcode == Opcode::Command) return commandInfo(node.command).printed;
  return opcodeInfo(node.opcode).traced;
}

void printCell(const Chart& chart, std::uint16_t index) {
  std::fprintf(stderr, " %s=%s", chart.program().cellNames[index].c_str(),
               describe(chart.cells()[index]).c_str());
}

bool writesResult(const Node& node) {
  switch (node.kind) {
    case NodeKind::Command: return commandInfo(node.command).writes == Writes::Result;
    case NodeKind::Equation:
    case NodeKind::Number:
    case NodeKind::TextLiteral:
    case NodeKind::TimeSegment:
    case NodeKind::CreateChart: return true;
    default: return false;
  }
}

}  // namespace

void enableTrace(std::string_view chartName) { tracedNames().emplace_back(chartName); }

bool isTraced(std::string_view chartName) {
  for (const std::string& name : tracedNames()) {
    if (name == chartName) return true;
  }
  return false;
}

void countNodesInto(NodeCounts* counts) { activeCounts() = counts; }

bool runsTraced(std::string_view chartName) {
  return activeCounts() != nullptr || isTraced(chartName);
}

void traceBefore(const Chart& chart, std::uint32_t nodeIndex) {
  const Program& program = chart.program();
  if (NodeCounts* counts = activeCounts()) counts->count(chart.registry(), program, nodeIndex);
  if (!isTraced(program.name)) return;
  const Node& node = program.nodes[nodeIndex];
  std::fprintf(stderr, "[%s] %s %.*s", program.name.c_str(), program.nodeNames[nodeIndex].c_str(),
               int(actionName(node).size()), actionName(node).data());
  if (node.kind == NodeKind::Equation) {
    for (std::uint16_t operand : program.equations[node.index].operands) printCell(chart, operand);
  } else if (node.kind == NodeKind::Decision) {
    printCell(chart, node.arguments[0]);
    printCell(chart, node.arguments[1]);
  } else if (node.kind == NodeKind::Command) {
    for (int at = 0; at < commandInfo(node.command).argumentCount(); ++at) {
      printCell(chart, node.arguments[at]);
    }
  }
  std::fputc('\n', stderr);
}

void traceAfter(const Chart& chart, std::uint32_t nodeIndex) {
  const Node& node = chart.program().nodes[nodeIndex];
  if (!writesResult(node) || !isTraced(chart.program().name)) return;
  std::fprintf(stderr, "[%s] %s ->", chart.program().name.c_str(),
               chart.program().nodeNames[nodeIndex].c_str());
  printCell(chart, node.result);
  std::fputc('\n', stderr);
}

}  // namespace chart
