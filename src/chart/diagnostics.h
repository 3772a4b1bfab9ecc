// The four message forms of a chart's fatal errors, and the argument type check that raises the
// first of them. Every message goes to `KivAlert`, which ends the run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "chart/cell.h"
#include "chart/chart.h"
#include "chart/commands.h"

namespace chart {

// The words of the type table whose condition the cell meets, one bit each, computed in one go:
// every command checks its arguments with it every time it runs.
inline std::uint8_t metWords(const Cell& cell, bool isEmptyConstant) {
  unsigned met = 0;
  if (cell.type == kUndefined || cell.type == kNumber) met |= wordBit(TypeWord::Math);
  if (cell.text != nullptr || cell.type == kText) met |= wordBit(TypeWord::Text);
  if (cell.object != nullptr) {
    if (cell.type == kObjectList) met |= wordBit(TypeWord::Object);
    if (cell.type == kNumberList) met |= wordBit(TypeWord::MathObject);
    if (cell.type == kTextList) met |= wordBit(TypeWord::TextObject);
  }
  if (cell.type == kEmpty) {
    met |= wordBit(isEmptyConstant ? TypeWord::EmptyConstant : TypeWord::EmptyVariable);
  }
  return std::uint8_t(met);
}

// The first word of the type table, tried in its order and skipping the `accepted` words, whose
// condition the cell meets; nothing when the cell passes. `isEmptyConstant` says whether the
// argument, as written, is the built-in `EMPTY`.
std::optional<TypeWord> rejectedTypeWord(const Cell& cell, bool isEmptyConstant,
                                         std::uint8_t accepted);

// Family 1: an argument of the wrong type.
std::string wrongTypeMessage(std::string_view chart, std::string_view command,
                             std::string_view cellName, TypeWord found,
                             std::string_view acceptedTypes);
// Family 2: a child chart that does not serve the snippet named by a snippet cell.
std::string invalidSnippetMessage(std::string_view chart, std::string_view command,
                                  std::string_view cellName, std::string_view snippet);
// Family 3: a resource file (`kind` "image" or "sound") for which no path results.
std::string missingResourceMessage(std::string_view kind, std::string_view chart,
                                   std::string_view fileName);
// Family 4: a selected index outside a list or text of `count` elements.
std::string indexOutOfRangeMessage(std::string_view chart, std::string_view command,
                                   std::string_view cellName, std::int32_t index,
                                   std::int64_t count);

// Raises the wrong-type alert for argument `position` of `command` when cell `cellIndex` of
// `chart` has a type the argument does not accept.
void raiseWrongType(Chart& chart, Command command, int position, std::uint16_t cellIndex);

// Checks argument `position` (0 or 1) of `command`, read from cell `cellIndex` of `chart`, and
// raises the wrong-type alert when its type is not accepted. Inline: the accepted types are
// known where the command is, and an argument that passes costs a few instructions.
inline void checkArgument(Chart& chart, Command command, int position, std::uint16_t cellIndex) {
  const std::uint8_t accepted = acceptedTypes(commandInfo(command).arguments[position]).words;
  const std::uint8_t met = metWords(chart.cell(cellIndex), cellIndex == kEmptyConstant);
  if ((met & ~accepted) != 0) raiseWrongType(chart, command, position, cellIndex);
}

// Raises the index-out-of-range alert for `command` on cell `cellIndex` unless
// 0 <= `index` < `count`; a NaN index is out of range.
void checkIndex(Chart& chart, Command command, std::uint16_t cellIndex, float index,
                std::size_t count);

[[noreturn]] void raise(const std::string& message);

// A float index truncated toward zero as the processor does it: values with no int32 form
// (NaN, infinities, out of range) give the most negative int32.
std::int32_t truncatedIndex(float value);

}  // namespace chart
