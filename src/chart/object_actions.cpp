// Creating chart objects, collecting charts and numbers in lists, driving child charts and
// picking one element of a list.
#include <string>

#include "chart/actions.h"
#include "chart/chart.h"
#include "chart/data.h"
#include "chart/diagnostics.h"
#include "chart/registry.h"
#include "chart/utf16.h"

namespace chart {

void createChart(Chart& chart, const Node& node) {
  List& list = ensureList(chart.cell(node.result), kObjectList);
  Chart* const child = Chart::create(chart.registry(), node.index, chart.services());
  list.append(child);
  Chart::release(child);  // the list holds it now
}

void objectAdd(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Object_add, 0, node.arguments[0]);
  const Cell& source = chart.cell(node.arguments[0]);
  Cell& result = chart.cell(node.result);
  if (clearedForEmptySource(source, result)) return;
  const List* const added = source.object;
  List& list = ensureList(result, kObjectList);
  // The source may be the result's own list: add only what it held before.
  const std::size_t count = added ? added->size() : 0;
  for (std::size_t at = 0; at < count; ++at) list.append((*added)[at]);
}

void objectAddMath(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Object_add_math, 0, node.arguments[0]);
  const Cell& source = chart.cell(node.arguments[0]);
  Cell& result = chart.cell(node.result);
  if (clearedForEmptySource(source, result)) return;
  const std::int32_t type = source.type;
  const float number = source.math;
  const List* const added = source.object;
  List& list = ensureList(result, kNumberList);
  if (type == kNumberList && added != nullptr) {
    const std::size_t count = added->size();
    for (std::size_t at = 0; at < count; ++at) list.append((*added)[at]);
  } else if (type == kNumber) {
    list.append(number);
  }
}

void objectUpdate(Chart& chart, const Node& node, bool lastOnly) {
  const Command command = lastOnly ? Command::Object_update_last : Command::Object_update_all;
  checkArgument(chart, command, 0, node.arguments[0]);
  checkArgument(chart, command, 1, node.arguments[1]);
  chart::Data& data = chart::Data::share();
  // A snippet name fits the string's own buffer: saving it allocates nothing.
  const std::string savedSnippet = data.selectedSnippet();
  const Cell& snippet = chart.cell(node.arguments[0]);
  List* const children = chart.cell(node.arguments[1]).object;
  const std::size_t count = children ? children->size() : 0;
  const std::size_t first = lastOnly && count > 0 ? count - 1 : 0;

  if (node.arguments[0] != kEmptyConstant && snippet.type != kEmpty) {
    const std::u16string_view name =
        snippet.text ? std::u16string_view(snippet.text->units) : std::u16string_view();
    for (std::size_t at = first; at < count; ++at) {
      if (!Chart::checkForValidSnippet(name)) {
        raise(invalidSnippetMessage(chart.chartName(), commandInfo(command).printed,
                                    chart.program().cellNames[node.arguments[0]], toUtf8(name)));
      }
    }
  }
  // Every snippet that passed is the default one. The list is held while its charts run: one of
  // them may drop the last other reference to it (through a global), and a list freed under
  // this loop would take its charts with it.
  if (children != nullptr) {
    children->retain();
    for (std::size_t at = first; at < count && at < children->size(); ++at) {
      if (Chart* const* child = std::get_if<Chart*>(&(*children)[at])) {
        (*child)->update(kDefaultSnippet);
      }
    }
    List::release(children);
  }
  data.setSelectedChart(chart.chartName());
  data.setSelectedSnippet(savedSnippet);
  chart.announceToServices();
}

void objectSelectedIndex(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Object_selected_index, 0, node.arguments[0]);
  chart.cell(kSelectedObject).math = chart.cell(node.arguments[0]).math;
}

void objectSelectedObject(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Object_selected_object, 0, node.arguments[0]);
  const List* const list = chart.cell(node.arguments[0]).object;
  const float index = chart.cell(kSelectedObject).math;
  const std::size_t count = list ? list->size() : 0;
  checkIndex(chart, Command::Object_selected_object, node.arguments[0], index, count);
  // Nothing below changes the list, so the element can be read in place.
  const ListElement& element = (*list)[std::size_t(index)];
  Cell& result = chart.cell(node.result);
  if (const float* number = std::get_if<float>(&element)) {
    storeTakenNumber(result, *number);
  } else if (const auto* text = std::get_if<std::u16string>(&element)) {
    ensureText(result).units.assign(*text);
  } else {
    ensureList(result, kObjectList).append(element);
  }
}

}  // namespace chart
