#include "chart/registry.h"

#include <string>
#include <unordered_map>

#include "chart/chart.h"
#include "chart/data.h"
#include "chart/decision.h"
#include "chart/utf16.h"
#include "engine/kiv_alert.h"

namespace chart {

namespace {

[[noreturn]] void refuse(std::string_view chart, std::string_view node, const std::string& why) {
  std::string message = "Chart definition \"" + std::string(chart) + "\"";
  if (!node.empty()) message += ", node \"" + std::string(node) + "\"";
  engine::KivAlert::share().setQuitAlert(message + ": " + why + ".");
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// Turns one definition into its program; `chartIndexes` resolves chart-creation nodes.
class Compiler {
 public:
  Compiler(const ChartSource& chart,
           const std::unordered_map<std::string_view, std::uint32_t>& indexOfChart)
      : source(chart), chartIndexes(indexOfChart) {}

  Program compile() {
    program.name = std::string(source.name);
    nameCells();
    nameNodes();
    for (const NodeSource& node : source.nodes) {
      nodeName = node.name;
      program.nodes.push_back(compileNode(node));
    }
    nodeName = {};
    prepareForEngine(program);
    program.entry = nodeIndex("trunk0_1", "entry node");
    return program;
  }

 private:
  void nameCells() {
    if (source.cellCount != kBuiltinCellCount + int(source.cells.size())) {
      refuse(source.name, {},
             "the cell count " + std::to_string(source.cellCount) + " does not match the " +
                 std::to_string(kBuiltinCellCount) + " constants and " +
                 std::to_string(source.cells.size()) + " cells listed");
    }
    for (std::string_view name : kBuiltinCellNames) addCell(name);
    int unnamed = 0;
    for (const CellSource& cell : source.cells) {
      if (cell.index != int(program.cellNames.size())) {
        refuse(source.name, {},
               "cell " + quoted(cell.name) + " is listed at index " + std::to_string(cell.index) +
                   " but comes at index " + std::to_string(program.cellNames.size()));
      }
      unnamed += cell.name.empty();
      addCell(cell.name);
    }
    if (unnamed != 1) {
      refuse(source.name, {},
             "exactly one cell must be named \"\", found " + std::to_string(unnamed));
    }
  }

  void addCell(std::string_view name) {
    const auto index = static_cast<std::uint16_t>(program.cellNames.size());
    if (!cellIndexes.emplace(name, index).second && !name.empty()) {
      refuse(source.name, {}, "two cells are named " + quoted(name));
    }
    program.cellNames.emplace_back(name);
  }

  void nameNodes() {
    for (const NodeSource& node : source.nodes) {
      const auto index = static_cast<std::uint32_t>(program.nodeNames.size());
      if (node.name.empty()) refuse(source.name, {}, "a node has no name");
      if (!nodeIndexes.emplace(node.name, index).second) {
        refuse(source.name, node.name, "the node name is used twice");
      }
      program.nodeNames.emplace_back(node.name);
    }
  }

  std::uint32_t nodeIndex(std::string_view name, std::string_view role) {
    const auto found = nodeIndexes.find(name);
    if (found == nodeIndexes.end()) {
      refuse(source.name, nodeName, std::string(role) + " " + quoted(name) + " does not exist");
    }
    return found->second;
  }
  std::uint32_t successor(std::string_view name) {
    return name.empty() ? kNoNode : nodeIndex(name, "successor");
  }

  std::uint16_t cellIndex(std::string_view name) {
    const auto found = cellIndexes.find(name);
    if (name.empty() || found == cellIndexes.end()) {
      refuse(source.name, nodeName, "cell " + quoted(name) + " does not exist");
    }
    return found->second;
  }

  Node compileNode(const NodeSource& written) {
    const NodeAction& action = written.action;
    Node node{};
    node.kind = action.kind;
    node.command = action.command;
    node.op = Operator::Unknown;
    node.next = successor(written.next);
    node.nextIfFalse = kNoNode;
    if (action.kind == NodeKind::Decision) {
      node.nextIfFalse = successor(written.nextIfFalse);
    } else if (!written.nextIfFalse.empty()) {
      refuse(source.name, nodeName, "only a decision has a second successor");
    }
    switch (action.kind) {
      case NodeKind::Command: compileCommand(action, node); break;
      case NodeKind::Equation: compileEquationNode(action, node); break;
      case NodeKind::Decision:
        node.arguments[0] = cellIndex(action.arguments[0]);
        node.arguments[1] = cellIndex(action.arguments[1]);
        node.op = compileOperator(action.text);
        break;
      case NodeKind::Number:
        node.result = cellIndex(action.result);
        node.number = action.number;
        break;
      case NodeKind::TextLiteral: {
        node.result = cellIndex(action.result);
        auto literal = toUtf16(action.text);
        if (!literal) refuse(source.name, nodeName, "the text literal is not valid UTF-8");
        node.index = static_cast<std::uint32_t>(program.literals.size());
        program.literals.push_back(std::move(*literal));
        break;
      }
      case NodeKind::TimeSegment: node.result = cellIndex(action.result); break;
      case NodeKind::CreateChart: {
        node.result = cellIndex(action.result);
        const auto found = chartIndexes.find(action.text);
        if (found == chartIndexes.end()) {
          refuse(source.name, nodeName, "there is no chart class " + quoted(action.text));
        }
        node.index = found->second;
        break;
      }
      case NodeKind::Junction:
      case NodeKind::PassThrough: break;
    }
    return node;
  }

  void compileCommand(const NodeAction& action, Node& node) {
    const CommandInfo& info = commandInfo(action.command);
    if (action.command == Command::Math_equation) {
      refuse(source.name, nodeName, "write Math.equation with equation(\"result = ...\")");
    }
    if (action.argumentCount != info.argumentCount()) {
      refuse(source.name, nodeName,
             std::string(info.printed) + " takes " + std::to_string(info.argumentCount()) +
                 " argument cell(s), not " + std::to_string(action.argumentCount));
    }
    const bool writes = info.writes == Writes::Result;
    if (writes == action.result.empty()) {
      refuse(source.name, nodeName,
             std::string(info.printed) + (writes ? " needs a result cell" : " has no result cell"));
    }
    for (int at = 0; at < action.argumentCount; ++at) {
      node.arguments[at] = cellIndex(action.arguments[at]);
    }
    if (writes) node.result = cellIndex(action.result);
    // Globals are keyed by the name of the variable cell; the key is resolved once, here.
    switch (action.command) {
      case Command::Global_variable_send:
      case Command::Global_variable_remove:
        node.index = chart::Data::share().globalVariableDictionary().keyFor(action.arguments[0]);
        break;
      case Command::Global_variable_receive:
        node.index = chart::Data::share().globalVariableDictionary().keyFor(action.result);
        break;
      default: break;
    }
  }

  void compileEquationNode(const NodeAction& action, Node& node) {
    std::string error;
    const CellLookup lookup = [this](std::string_view name) -> std::optional<std::uint16_t> {
      const auto found = cellIndexes.find(name);
      if (name.empty() || found == cellIndexes.end()) return std::nullopt;
      return found->second;
    };
    auto compiled = compileEquation(action.text, action.inDouble, lookup, error);
    if (!compiled) refuse(source.name, nodeName, "equation " + quoted(action.text) + ": " + error);
    node.result = compiled->result;
    node.index = static_cast<std::uint32_t>(program.equations.size());
    program.equations.push_back(std::move(*compiled));
    program.equationTexts.emplace_back(action.text);
  }

  Operator compileOperator(std::string_view text) {
    const Operator op = operatorFromText(text);
    if (op == Operator::Unknown) refuse(source.name, nodeName, "unknown operator " + quoted(text));
    return op;
  }

  const ChartSource& source;
  const std::unordered_map<std::string_view, std::uint32_t>& chartIndexes;
  Program program;
  std::unordered_map<std::string_view, std::uint16_t> cellIndexes;
  std::unordered_map<std::string_view, std::uint32_t> nodeIndexes;
  std::string_view nodeName;
};

}  // namespace

Registry::Registry(const std::vector<ChartSource>& sources) {
  std::unordered_map<std::string_view, std::uint32_t> chartIndexes;
  for (const ChartSource& source : sources) {
    if (source.name.empty()) refuse(source.name, {}, "a chart has no name");
    if (!chartIndexes.emplace(source.name, std::uint32_t(chartIndexes.size())).second) {
      refuse(source.name, {}, "the chart name is used twice");
    }
  }
  programs.reserve(sources.size());
  for (const ChartSource& source : sources) {
    programs.push_back(Compiler(source, chartIndexes).compile());
  }
}

std::optional<std::uint32_t> Registry::find(std::string_view chartName) const {
  for (std::uint32_t at = 0; at < programs.size(); ++at) {
    if (programs[at].name == chartName) return at;
  }
  return std::nullopt;
}

Chart* Registry::create(std::string_view chartName, const engine::Services& services) const {
  const auto index = find(chartName);
  if (!index) refuse(chartName, {}, "no such chart is registered");
  return Chart::create(*this, *index, services);
}

}  // namespace chart
