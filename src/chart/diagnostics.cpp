#include "chart/diagnostics.h"

#include <bit>
#include <limits>

#include "chart/chart.h"
#include "engine/kiv_alert.h"

namespace chart {

namespace {

std::string firstThreeLines(std::string_view chart, std::string_view command,
                            std::string_view cellName) {
  std::string message = "There is an error in a Chart Object named: ";
  message += chart;
  message += "\nThe error is inside a function named: ";
  message += command;
  message += "\nThe variable with the function is named: ";
  message += cellName;
  return message;
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
  std::string message = firstThreeLines(chart, command, cellName);
  message += "\nThe variable type that is being sent is: \"";
  message += kTypeWordNames[unsigned(found)];
  message += "\" which is incorrect\n The valid variable types are: ";
  message += acceptedTypes;
  message += ".";
  return message;
}

std::string invalidSnippetMessage(std::string_view chart, std::string_view command,
                                  std::string_view cellName, std::string_view snippet) {
  std::string message = "There is an error inside the Object named: ";
  message += chart;
  message += "\n with the function named: ";
  message += command;
  message += "\n because the variable named: ";
  message += cellName;
  message += "\n has a snippet named: ";
  message += snippet;
  message += " which is an invalid snippet name for this object.";
  return message;
}

std::string missingResourceMessage(std::string_view kind, std::string_view chart,
                                   std::string_view fileName) {
  std::string message = "The ";
  message += chart;
  message += " chart has an invalid ";
  message += kind;
  message += " file with directory ";
  message += fileName;
  message += " .";
  return message;
}

std::string indexOutOfRangeMessage(std::string_view chart, std::string_view command,
                                   std::string_view cellName, std::int32_t index,
                                   std::int64_t count) {
  std::string message = firstThreeLines(chart, command, cellName);
  message += "\nThe index of " + std::to_string(index) + " is outside a valid index of 0 to " +
             std::to_string(count - 1) + ".";
  return message;
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

void raise(const std::string& message) { KivAlert::share().setQuitAlert(message); }

std::int32_t truncatedIndex(float value) {
  constexpr float kLimit = 2147483648.0f;  // 2^31
  if (!(value >= -kLimit && value < kLimit)) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

}  // namespace chart
