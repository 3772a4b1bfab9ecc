// The node engine: runs a chart's chain one node after another in a loop, so that a chain of any
// length, loops included, needs no stack that grows with it. Each node is a compact record with
// its cells resolved; one switch on its opcode (see opcodes.h) picks its action and its
// successor. The commonest case, an equation over number cells, is done by the small functions
// below without leaving the engine; every other case goes to the action that checks and reports.
#include <functional>

#include "chart/actions.h"
#include "chart/chart.h"
#include "chart/data.h"
#include "chart/decision.h"
#include "chart/trace.h"

namespace chart {

namespace {

// The fast paths below are forced inline into the node loop: out of line, the call and the
// reloading of the loop's state cost about a fifth of an equation's turn.
#define ALOFT_IN_LOOP [[gnu::always_inline]] inline

// A number cell without a leftover text: an equation operand that needs no check.
ALOFT_IN_LOOP bool plainNumber(const Cell& cell) {
  return (cell.type == kNumber || cell.type == kUndefined) && cell.text == nullptr;
}

// The operations of the equation forms.
constexpr std::plus<float> kPlus;
constexpr std::minus<float> kMinus;
constexpr std::multiplies<float> kTimes;
constexpr std::divides<float> kOver;

// The state one run of the node loop works on, with the fast paths over it. Each falls back to
// the equation's checked action when an operand is not a plain number.
struct Loop {
  Chart& chart;
  Cell* const cells;
  const Equation* const equations;

  // result = arguments[0] op the constant.
  template <typename Operation>
  ALOFT_IN_LOOP void withConstant(const Node& node, Operation operation) {
    const Cell& left = cells[node.arguments[0]];
    if (!plainNumber(left)) return mathEquation(chart, node);
    storeNumber(cells[node.result], operation(left.math, node.number));
  }

  // result = arguments[0] op arguments[1].
  template <typename Operation>
  ALOFT_IN_LOOP void withCell(const Node& node, Operation operation) {
    const Cell& left = cells[node.arguments[0]];
    const Cell& right = cells[node.arguments[1]];
    if (!plainNumber(left) || !plainNumber(right)) return mathEquation(chart, node);
    storeNumber(cells[node.result], operation(left.math, right.math));
  }

  // result = the equation's chain, link by link.
  ALOFT_IN_LOOP void chain(const Node& node) {
    float value;
    if (evaluateChain(equations[node.index], cells, value)) {
      storeNumber(cells[node.result], value);
    } else {
      mathEquation(chart, node);
    }
  }
};

#undef ALOFT_IN_LOOP

}  // namespace

template <bool kTrace>
void Chart::runFrom(std::uint32_t node) {
  const Node* const nodes = program_->nodes.data();
  Cell* const cells = cells_.get();
  const chart::Data& data = chart::Data::share();
  Loop loop{*this, cells, program_->equations.data()};

  while (node != kNoNode) {
    const Node& current = nodes[node];
    if constexpr (kTrace) traceBefore(*this, node);
    const std::uint32_t at = node;
    node = current.next;
    switch (current.opcode) {
      case Opcode::Command: runCommand(current); break;
      case Opcode::Equation: mathEquation(*this, current); break;
      case Opcode::Decision:
        if (!decisionDiamond(current.op, cells[current.arguments[0]], cells[current.arguments[1]]))
          node = current.nextIfFalse;
        break;
      case Opcode::Number: storeNumber(cells[current.result], current.number); break;
      case Opcode::TextLiteral:
        ensureText(cells[current.result]).units += program_->literals[current.index];
        break;
      case Opcode::TimeSegment: storeTakenNumber(cells[current.result], data.timeSegment()); break;
      case Opcode::CreateChart: createChart(*this, current); break;
      case Opcode::Junction:
      case Opcode::PassThrough: break;
      case Opcode::EquationChain: loop.chain(current); break;
      case Opcode::AddConstant: loop.withConstant(current, kPlus); break;
      case Opcode::SubtractConstant: loop.withConstant(current, kMinus); break;
      case Opcode::MultiplyConstant: loop.withConstant(current, kTimes); break;
      case Opcode::DivideConstant: loop.withConstant(current, kOver); break;
      case Opcode::AddCell: loop.withCell(current, kPlus); break;
      case Opcode::SubtractCell: loop.withCell(current, kMinus); break;
      case Opcode::MultiplyCell: loop.withCell(current, kTimes); break;
      case Opcode::DivideCell: loop.withCell(current, kOver); break;
    }
    if constexpr (kTrace) traceAfter(*this, at);
  }
}

template void Chart::runFrom<true>(std::uint32_t);
template void Chart::runFrom<false>(std::uint32_t);

void Chart::runCommand(const Node& node) {
  switch (node.command) {
    case Command::Math_sine: mathSine(*this, node); break;
    case Command::Math_cosine: mathCosine(*this, node); break;
    case Command::Math_to_text: mathToText(*this, node); break;
    case Command::Text_add: textAdd(*this, node); break;
    case Command::Text_remove_all: textRemoveAll(*this, node); break;
    case Command::Text_length: textLength(*this, node); break;
    case Command::Text_selected_character: textSelectedCharacter(*this, node); break;
    case Command::Text_selected_index: textSelectedIndex(*this, node); break;
    case Command::Text_character_to_number: textCharacterToNumber(*this, node); break;
    case Command::Object_add: objectAdd(*this, node); break;
    case Command::Object_add_math: objectAddMath(*this, node); break;
    case Command::Object_update_all: objectUpdate(*this, node, false); break;
    case Command::Object_update_last: objectUpdate(*this, node, true); break;
    case Command::Object_selected_object: objectSelectedObject(*this, node); break;
    case Command::Object_selected_index: objectSelectedIndex(*this, node); break;
    case Command::Global_variable_send: globalVariableSend(*this, node); break;
    case Command::Global_variable_receive: globalVariableReceive(*this, node); break;
    case Command::Global_variable_remove: globalVariableRemove(*this, node); break;
    case Command::Global_variable_remove_all: globalVariableRemoveAll(*this, node); break;
    case Command::Preference_open: preferenceOpen(*this, node); break;
    case Command::Preference_save: preferenceSave(*this, node); break;
    case Command::Vertex_x:
    case Command::Vertex_y:
    case Command::Vertex_z: collectVertex(*this, node); break;
    case Command::Color_red:
    case Command::Color_green:
    case Command::Color_blue:
    case Command::Color_alpha: collectColor(*this, node); break;
    case Command::Image_map_x:
    case Command::Image_map_y: collectImageMap(*this, node); break;
    case Command::Polygon_add: polygonAdd(*this, node); break;
    case Command::Polygon_replace: polygonReplace(*this, node); break;
    case Command::Polygon_replace_range: polygonReplaceRange(*this, node); break;
    case Command::Polygon_update: polygonUpdate(*this, node); break;
    case Command::Move_x:
    case Command::Move_y:
    case Command::Move_z:
    case Command::Rotate_x:
    case Command::Rotate_z: place(*this, node); break;
    case Command::Image_add: imageAdd(*this, node); break;
    case Command::Image_update: imageUpdate(*this, node); break;
    case Command::Blend: blend(*this, node); break;
    case Command::Depth: depth(*this, node); break;
    case Command::Screen_ratio: screenRatio(*this, node); break;
    case Command::Picking_add: pickingAdd(*this, node); break;
    case Command::Picking_update: pickingUpdate(*this, node); break;
    case Command::Sound_add: soundAdd(*this, node); break;
    case Command::Sound_play: soundPlay(*this, node); break;
    case Command::Sound_loop: soundLoop(*this, node); break;
    case Command::Sound_time_send: soundTimeSend(*this, node); break;
    case Command::Keyboard_down: keyboardDown(*this, node); break;
    case Command::Mouse_type: mouseType(*this, node); break;
    // An equation is a node of its own kind; the registry refuses it written as a command.
    case Command::Math_equation: break;
  }
}

}  // namespace chart
