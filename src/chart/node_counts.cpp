#include "chart/node_counts.h"

#include <charconv>
#include <istream>
#include <ostream>
#include <sstream>

#include "platform/text_fields.h"

namespace chart {

namespace {

constexpr std::uint32_t kNotFound = ~std::uint32_t{0};

// `text` as it is echoed in an error, in quotes: a byte other than printable ASCII (a control
// byte that a terminal would act on, or part of a sequence) as \xNN, quotes and backslashes
// escaped, and no more than 100 bytes of it shown.
std::string quoted(std::string_view text) {
  constexpr std::size_t kShown = 100;
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out = "\"";
  for (const char c : text.substr(0, kShown)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == '"' || byte == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte > 0x7e) {
      out += "\\x";
      out += kDigits[byte >> 4];
      out += kDigits[byte & 15];
    } else {
      out += c;
    }
  }
  return out + (text.size() > kShown ? "\"..." : "\"");
}

std::uint32_t nodeNamed(const Program& program, std::string_view name) {
  for (std::uint32_t at = 0; at < program.nodeNames.size(); ++at) {
    if (program.nodeNames[at] == name) return at;
  }
  return kNotFound;
}

// Why `line` does not fit, or empty when it does; fills the chart, node and count it names.
std::string parseLine(const Registry& registry, const std::string& line, std::uint32_t& chart,
                      std::uint32_t& node, std::uint64_t& count) {
  std::istringstream fields(line);
  std::string chartName, nodeName, number, extra;
  if (!(fields >> chartName >> nodeName >> number) || (fields >> extra)) {
    return "expected CHART NODE COUNT";
  }
  const auto found = registry.find(chartName);
  if (!found) return "there is no chart " + quoted(chartName);
  chart = *found;
  node = nodeNamed(registry.program(chart), nodeName);
  if (node == kNotFound) return "chart " + chartName + " has no node " + quoted(nodeName);
  if (!platform::parseWhole(number, count)) {
    return "the count " + quoted(number) + " is not a whole number";
  }
  return {};
}

}  // namespace

NodeCounts::NodeCounts(const Registry& charts) : registry(charts) {
  for (std::uint32_t at = 0; at < registry.size(); ++at) {
    counts.emplace_back(registry.program(at).nodes.size(), 0);
  }
}

void NodeCounts::write(std::ostream& out) const {
  out << "# chart node times-run\n";
  for (std::uint32_t chart = 0; chart < registry.size(); ++chart) {
    const Program& program = registry.program(chart);
    for (std::uint32_t node = 0; node < program.nodes.size(); ++node) {
      out << program.name << ' ' << program.nodeNames[node] << ' ' << counts[chart][node] << '\n';
    }
  }
}

bool NodeCounts::read(std::istream& in, std::span<const std::uint32_t> required,
                      std::string& error) {
  std::vector<std::vector<bool>> seen;
  for (const auto& programCounts : counts) seen.emplace_back(programCounts.size(), false);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.find_first_not_of(" \t\r") == std::string::npos || line[0] == '#') continue;
    std::uint32_t chart = 0, node = 0;
    std::uint64_t count = 0;
    std::string why = parseLine(registry, line, chart, node, count);
    if (why.empty() && seen[chart][node]) why = "the node was counted before";
    if (!why.empty()) {
      error = "line " + std::to_string(number) + " " + quoted(line) + ": " + why;
      return false;
    }
    seen[chart][node] = true;
    counts[chart][node] = count;
  }
  for (std::uint32_t chart : required) {
    for (std::uint32_t node = 0; node < seen[chart].size(); ++node) {
      if (!seen[chart][node]) {
        error = "no line for node " + registry.program(chart).nodeNames[node] + " of chart " +
                registry.program(chart).name;
        return false;
      }
    }
  }
  return true;
}

}  // namespace chart
