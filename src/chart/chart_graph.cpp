#include "chart/chart_graph.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "chart/chart.h"
#include "chart/utf16.h"

namespace chart {

namespace {

// DOT's quoted string: backslashes and quotes escaped, a line break as DOT's centred one.
std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      default: out += c;
    }
  }
  return out + '"';
}

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.7g", value);
  return text;
}

std::string_view operatorText(Operator op) {
  switch (op) {
    case Operator::Equal: return "==";
    case Operator::Greater: return ">";
    case Operator::Less: return "<";
    case Operator::GreaterOrEqual: return ">=";
    case Operator::LessOrEqual: return "<=";
    case Operator::Unknown: break;
  }
  return "?";
}

class GraphWriter {
 public:
  GraphWriter(std::ostream& stream, const Registry& charts, const NodeCounts* nodeCounts)
      : out(stream), registry(charts), counts(nodeCounts) {}

  void chart(std::uint32_t programIndex) {
    const Program& program = registry.program(programIndex);
    prefix = program.name + ".";
    runCounts = counts ? counts->ofProgram(programIndex) : std::span<const std::uint64_t>{};
    mostRuns = runCounts.empty() ? 0 : *std::max_element(runCounts.begin(), runCounts.end());
    out << "  subgraph " << quoted("cluster_" + program.name) << " {\n"
        << "    label=" << quoted(program.name) << ";\n";
    out << "    " << id("start") << " [shape=cds, style=filled, fillcolor=\"#c8e6c9\", label="
        << quoted(std::string(kDefaultSnippet)) << "];\n";
    out << "    " << id("start") << " -> " << id(program.nodeNames[program.entry]) << ";\n";
    for (std::uint32_t at = 0; at < program.nodes.size(); ++at) node(program, at);
    rows(program);
    out << "  }\n";
  }

 private:
  std::string id(std::string_view name) const { return quoted(prefix + std::string(name)); }
  std::string cell(const Program& program, std::uint16_t index) const {
    return program.cellNames[index];
  }

  // What the node does, as its box says it.
  std::string action(const Program& program, const Node& node) const {
    switch (node.kind) {
      case NodeKind::Command: {
        const CommandInfo& info = commandInfo(node.command);
        std::string text = std::string(info.printed) + "(";
        for (int at = 0; at < info.argumentCount(); ++at) {
          text += (at > 0 ? ", " : "") + cell(program, node.arguments[at]);
        }
        text += ")";
        if (info.writes == Writes::Result) text = cell(program, node.result) + " = " + text;
        return text;
      }
      case NodeKind::Equation: {
        const std::string& text = program.equationTexts[node.index];
        return program.equations[node.index].inDouble ? text + "  (double)" : text;
      }
      case NodeKind::Decision:
        return cell(program, node.arguments[0]) + " " + std::string(operatorText(node.op)) + " " +
               cell(program, node.arguments[1]) + " ?";
      case NodeKind::Number: return cell(program, node.result) + " = " + number(node.number);
      case NodeKind::TextLiteral:
        return cell(program, node.result) + " += \"" + toUtf8(program.literals[node.index]) + "\"";
      case NodeKind::TimeSegment: return cell(program, node.result) + " = frame time";
      case NodeKind::CreateChart:
        return "new " + registry.program(node.index).name + " into " + cell(program, node.result);
      case NodeKind::Junction:
      case NodeKind::PassThrough: break;
    }
    return {};
  }

  // Shape and fill of the node's kind. With counts the fill says how often it ran instead: a
  // node that never ran is dashed and grey; the others take one of nine shades by their count's
  // share of the most runs of any node, on a log scale (a frame's nodes run once a frame, a
  // loop's many times).
  std::string look(const Node& node, std::uint32_t at) const {
    std::string shape;
    std::string style = "filled";
    std::string fill = "white";
    switch (node.kind) {
      case NodeKind::Decision: shape = "shape=diamond, "; fill = "#fff3c4"; break;
      case NodeKind::Command: fill = "#d6e6f5"; break;
      case NodeKind::CreateChart: fill = "#e8d8f0"; break;
      case NodeKind::Junction: shape = "shape=point, width=0.08, "; fill = "black"; break;
      case NodeKind::PassThrough: shape = "shape=circle, width=0.15, "; break;
      default: style = "rounded,filled"; break;
    }
    std::string extra;
    if (!runCounts.empty()) {
      const std::uint64_t runs = runCounts[at];
      if (runs == 0) {
        style += ",dashed";
        fill = node.kind == NodeKind::Junction ? "#bbbbbb" : "#f4f4f4";
        extra = ", color=\"#999999\", fontcolor=\"#888888\"";
      } else {
        const double share = std::log(double(runs) + 1) / std::log(double(mostRuns) + 1);
        const int shade = std::clamp(int(std::lround(2 + share * 7)), 2, 9);
        fill = "/orrd9/" + std::to_string(shade);
        if (shade >= 8) extra = ", fontcolor=white";
      }
    }
    if (node.kind == NodeKind::Junction) extra = ", color=\"" + fill + "\"";
    return shape + "style=\"" + style + "\", fillcolor=\"" + fill + "\"" + extra;
  }

  std::string label(const Program& program, const Node& node, std::uint32_t at) const {
    std::string text = program.nodeNames[at];
    const std::string doing = action(program, node);
    if (!doing.empty()) text += "\n" + doing;
    if (!runCounts.empty()) text += "\n" + std::to_string(runCounts[at]) + "×";
    return text;
  }

  void node(const Program& program, std::uint32_t at) {
    const Node& node = program.nodes[at];
    const std::string name = program.nodeNames[at];
    out << "    " << id(name) << " [" << look(node, at);
    if (node.kind == NodeKind::Junction) {
      out << ", xlabel=" << quoted(label(program, node, at)) << ", label=\"\"";
    } else {
      out << ", label=" << quoted(label(program, node, at));
    }
    out << "];\n";
    if (node.kind == NodeKind::Decision) {
      edge(program, name, node.next, "true");
      edge(program, name, node.nextIfFalse, "false");
    } else {
      edge(program, name, node.next, "");
    }
  }

  // An edge to the successor, or to a small end mark of its own when the pass ends there: one
  // shared end would pull edges from every corner of the picture.
  void edge(const Program& program, const std::string& from, std::uint32_t to,
            std::string_view outcome) {
    std::string target;
    if (to == kNoNode) {
      target = id(from + ".end" + (outcome.empty() ? "" : "." + std::string(outcome)));
      out << "    " << target
          << " [shape=doublecircle, width=0.12, height=0.12, fixedsize=true, label=\"\", "
             "style=filled, fillcolor=black];\n";
    } else {
      target = id(program.nodeNames[to]);
    }
    out << "    " << id(from) << " -> " << target;
    if (!outcome.empty()) {
      out << " [label=" << quoted(std::string(outcome))
          << (outcome == "true" ? ", color=\"#2e7d32\", fontcolor=\"#2e7d32\"" :
                                  ", color=\"#c62828\", fontcolor=\"#c62828\"")
          << "]";
    }
    out << ";\n";
  }

  // A run of nodes that follow one another with no way in or out between them (a colour, a
  // vertex, a placement) is laid out as rows of a few nodes read left to right, the rows one
  // under the other: drawn top to bottom, such runs made the picture a narrow strip many
  // screens tall.
  void rows(const Program& program) {
    const std::size_t count = program.nodes.size();
    std::vector<int> predecessors(count, 0);
    for (const Node& node : program.nodes) {
      if (node.next != kNoNode) ++predecessors[node.next];
      if (node.kind == NodeKind::Decision && node.nextIfFalse != kNoNode) {
        ++predecessors[node.nextIfFalse];
      }
    }
    // The node that continues `at`'s run, or kNoNode.
    auto following = [&](std::uint32_t at) {
      const Node& node = program.nodes[at];
      if (node.kind == NodeKind::Decision || node.next == kNoNode) return kNoNode;
      return predecessors[node.next] == 1 ? node.next : kNoNode;
    };
    std::vector<bool> continues(count, false);
    for (std::uint32_t at = 0; at < count; ++at) {
      if (following(at) != kNoNode) continues[following(at)] = true;
    }
    for (std::uint32_t first = 0; first < count; ++first) {
      if (continues[first]) continue;
      std::vector<std::uint32_t> run{first};
      for (std::uint32_t at = following(first); at != kNoNode && at != first; at = following(at)) {
        run.push_back(at);
      }
      if (run.size() < kShortestRow) continue;
      for (std::size_t row = 0; row < run.size(); row += kRowLength) {
        // A cluster of its own keeps the row together when other rows share its rank.
        out << "    subgraph " << quoted("cluster_row_" + prefix + program.nodeNames[run[row]])
            << " { rank=same; peripheries=0; label=\"\";";
        for (std::size_t at = row; at < std::min(run.size(), row + kRowLength); ++at) {
          out << ' ' << id(program.nodeNames[run[at]]) << ';';
        }
        out << " }\n";
      }
    }
  }

  static constexpr std::size_t kShortestRow = 3;
  static constexpr std::size_t kRowLength = 8;

  std::ostream& out;
  const Registry& registry;
  const NodeCounts* counts;
  std::string prefix;
  std::span<const std::uint64_t> runCounts;
  std::uint64_t mostRuns = 0;
};

}  // namespace

void writeChartGraph(std::ostream& out, const Registry& registry,
                     std::span<const std::uint32_t> programIndexes, const NodeCounts* counts) {
  std::string title;
  for (std::uint32_t index : programIndexes) {
    title += (title.empty() ? "" : " ") + registry.program(index).name;
  }
  out << "digraph " << quoted(title) << " {\n"
      << "  graph [fontname=\"DejaVu Sans\", fontsize=14, nodesep=0.2, ranksep=0.25, "
         "newrank=true];\n"
      << "  node [fontname=\"DejaVu Sans\", fontsize=10, shape=box, style=filled, height=0.3, "
         "margin=\"0.08,0.03\"];\n"
      << "  edge [fontname=\"DejaVu Sans\", fontsize=9, arrowsize=0.6];\n";
  GraphWriter writer(out, registry, counts);
  for (std::uint32_t index : programIndexes) writer.chart(index);
  out << "}\n";
}

}  // namespace chart
