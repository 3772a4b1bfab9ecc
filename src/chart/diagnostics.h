// The four message forms of a chart's fatal errors, and the argument type check that raises the
// first of them. Every message goes to `KivAlert`, which ends the run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "chart/cell.h"
#include "chart/commands.h"

namespace chart {

class Chart;

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

// Checks argument `position` (0 or 1) of `command`, read from cell `cellIndex` of `chart`, and
// raises the wrong-type alert when its type is not accepted.
void checkArgument(Chart& chart, Command command, int position, std::uint16_t cellIndex);

// Raises the index-out-of-range alert for `command` on cell `cellIndex` unless
// 0 <= `index` < `count`; a NaN index is out of range.
void checkIndex(Chart& chart, Command command, std::uint16_t cellIndex, float index,
                std::size_t count);

[[noreturn]] void raise(const std::string& message);

// A float index truncated toward zero as the processor does it: values with no int32 form
// (NaN, infinities, out of range) give the most negative int32.
std::int32_t truncatedIndex(float value);

}  // namespace chart
