#include "chart/diagnostics.h"

#include <bit>
#include <initializer_list>
#include <limits>

#include "chart/chart.h"
#include "engine/kiv_alert.h"

namespace chart {

namespace {

// The message's pieces, one after the other.
std::string joined(std::initializer_list<std::string_view> pieces) {
  std::string message;
  for (const std::string_view piece : pieces) message += piece;
  return message;
}

std::string firstThreeLines(std::string_view chart, std::string_view command,
                            std::string_view cellName) {
  return joined({"There is an error in a Chart Object named: ", chart,
                 "\nThe error is inside a function named: ", command,
                 "\nThe variable with the function is named: ", cellName});
}

}  // namespace

std::optional<TypeWord> rejectedTypeWord(const Cell& cell, bool isEmptyConstant,
                                         std::uint8_t accepted) {
  const unsigned rejected = metWords(cell, isEmptyConstant) & ~unsigned(accepted);
  if (rejected == 0) return std::nullopt;
  // The table's order is the bits' order: the lowest bit is the first word tried.
  return TypeWord(std::countr_zero(rejected));
}

std::string wrongTypeMessage(std::string_view chart, std::string_view command,
                             std::string_view cellName, TypeWord found,
                             std::string_view acceptedTypes) {
  return joined({firstThreeLines(chart, command, cellName),
                 "\nThe variable type that is being sent is: \"", kTypeWordNames[unsigned(found)],
                 "\" which is incorrect\n The valid variable types are: ", acceptedTypes, "."});
}

std::string invalidSnippetMessage(std::string_view chart, std::string_view command,
                                  std::string_view cellName, std::string_view snippet) {
  return joined({"There is an error inside the Object named: ", chart,
                 "\n with the function named: ", command, "\n because the variable named: ",
                 cellName, "\n has a snippet named: ", snippet,
                 " which is an invalid snippet name for this object."});
}

std::string missingResourceMessage(std::string_view kind, std::string_view chart,
                                   std::string_view fileName) {
  return joined(
      {"The ", chart, " chart has an invalid ", kind, " file with directory ", fileName, " ."});
}

std::string indexOutOfRangeMessage(std::string_view chart, std::string_view command,
                                   std::string_view cellName, std::int32_t index,
                                   std::int64_t count) {
  return joined({firstThreeLines(chart, command, cellName), "\nThe index of ",
                 std::to_string(index), " is outside a valid index of 0 to ",
                 std::to_string(count - 1), "."});
}

void raiseWrongType(Chart& chart, Command command, int position, std::uint16_t cellIndex) {
  const CommandInfo& info = commandInfo(command);
  const AcceptedTypes& accepted = acceptedTypes(info.arguments[position]);
  const auto word =
      rejectedTypeWord(chart.cell(cellIndex), cellIndex == kEmptyConstant, accepted.words);
  if (!word) return;
  raise(wrongTypeMessage(chart.chartName(), info.printed, chart.program().cellNames[cellIndex],
                         *word, accepted.printed));
}

void checkIndex(Chart& chart, Command command, std::uint16_t cellIndex, float index,
                std::size_t count) {
  if (index >= 0.0f && index < float(count)) return;
  raise(indexOutOfRangeMessage(chart.chartName(), commandInfo(command).printed,
                               chart.program().cellNames[cellIndex], truncatedIndex(index),
                               std::int64_t(count)));
}

void raise(const std::string& message) { engine::KivAlert::share().setQuitAlert(message); }

std::int32_t truncatedIndex(float value) {
  constexpr float kLimit = 2147483648.0f;  // 2^31
  if (!(value >= -kLimit && value < kLimit)) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

}  // namespace chart
