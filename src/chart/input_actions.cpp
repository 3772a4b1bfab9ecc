// Reading the keyboard and the mouse: the input event current while the node runs.
#include <array>
#include <string_view>

#include "chart/actions.h"
#include "chart/chart.h"
#include "chart/data.h"
#include "chart/diagnostics.h"
#include "chart/utf16.h"

namespace chart {

namespace {

using platform::InputKind;

const platform::InputEvent& currentEvent() { return chart::Data::share().currentEvent(); }

// The name the charts give each mouse-button event.
std::u16string_view mouseKindName(InputKind kind) {
  switch (kind) {
    case InputKind::LeftMouseDown: return u"LeftMouseDown";
    case InputKind::LeftMouseUp: return u"LeftMouseUp";
    case InputKind::RightMouseDown: return u"RightMouseDown";
    case InputKind::RightMouseUp: return u"RightMouseUp";
    default: return {};
  }
}

// "0x" and the lowercase hexadecimal digits without leading zeros: "0xf703", "0x61".
std::u16string hexadecimalCode(char16_t code) {
  constexpr std::string_view digits = "0123456789abcdef";
  std::u16string text;
  for (int shift = 12; shift >= 0; shift -= 4) {
    const unsigned digit = (unsigned(code) >> unsigned(shift)) & 0xFu;
    if (digit != 0 || !text.empty() || shift == 0) text += char16_t(digits[digit]);
  }
  return u"0x" + text;
}

}  // namespace

void keyboardDown(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Keyboard_down, 0, node.arguments[0]);
  const platform::InputEvent event = currentEvent();
  Cell& result = chart.cell(node.result);
  if (event.kind != InputKind::KeyDown) {
    clearCell(result);
    return;
  }
  std::u16string& text = ensureText(result).units;
  // A key that types nothing (a dead key, a modifier) leaves the text empty.
  if (event.character == 0) {
    text.clear();
  } else if (chart.cell(node.arguments[0]).math == chart.cell(kYes).math) {
    text = hexadecimalCode(event.character);
  } else {
    text.assign(1, event.character);
  }
}

void mouseType(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Mouse_type, 0, node.arguments[0]);
  const Text* asked = chart.cell(node.arguments[0]).text;
  const std::u16string_view name = mouseKindName(currentEvent().kind);
  const bool matches = !name.empty() && asked != nullptr && asked->units == name;
  storeTakenNumber(chart.cell(node.result), chart.cell(matches ? kYes : kNo).math);
}

}  // namespace chart
