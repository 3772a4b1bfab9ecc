// The node engine: runs a chart's chain one node after another in a loop, so that a chain of any
// length, loops included, needs no stack that grows with it. Each node is a compact record with
// its cells resolved; one switch on its opcode picks its action and its successor. The commonest
// cases, equations over number cells and decisions between two numbers, are done in the loop
// itself; every other case goes to the action that checks and reports. An untraced chart runs
// the program's fused copy of its nodes, in which an equation and the decision after it are one
// superinstruction (see `Opcode`).
#include <cmath>
#include <functional>

#include "chart/actions.h"
#include "chart/chart.h"
#include "chart/data.h"
#include "chart/decision.h"
#include "chart/trace.h"

namespace chart {

namespace {

// A number cell without a leftover text: an equation operand that needs no check.
bool plainNumber(const Cell& cell) {
  return (cell.type == kNumber || cell.type == kUndefined) && cell.text == nullptr;
}

}  // namespace

template <bool kTrace>
void Chart::runFrom(std::uint32_t node) {
  // A traced chart runs the nodes as written, so that its trace shows each of them.
  const Node* const nodes = kTrace ? program_->nodes.data() : program_->fusedNodes.data();
  const Equation* const equations = program_->equations.data();
  Cell* const cells = cells_.get();
  Data& data = Data::share();

  // result = arguments[0] op `right`, or the full equation action when an operand needs a check.
  auto withConstant = [&](const Node& current, auto operation) {
    const Cell& left = cells[current.arguments[0]];
    if (!plainNumber(left)) return mathEquation(*this, current);
    storeNumber(cells[current.result], operation(left.math, current.number));
  };
  auto withCell = [&](const Node& current, auto operation) {
    const Cell& left = cells[current.arguments[0]];
    const Cell& right = cells[current.arguments[1]];
    if (!plainNumber(left) || !plainNumber(right)) return mathEquation(*this, current);
    storeNumber(cells[current.result], operation(left.math, right.math));
  };
  // Two numbers compare by value; any other pair by the decision's full rules.
  auto holds = [&](const Node& current, auto comparison) {
    const Cell& left = cells[current.arguments[0]];
    const Cell& right = cells[current.arguments[1]];
    if (left.type == kNumber && right.type == kNumber) return comparison(left.math, right.math);
    return decisionDiamond(current.op, left, right);
  };

  // A decision's successor when it does not hold.
  auto otherwise = [](const Node& current, std::uint32_t at) {
    if (current.nextIfFalseFollows) return at + 1;
    return current.nextIfFalse;
  };

  // A superinstruction's decision, after its equation: the junction's mark of the time when one
  // stood between them, then the comparison.
  auto decideAfterEquation = [&](const Node& current, std::uint32_t at) {
    if (current.junctionBetween) data.addTime();
    const Cell& left = cells[current.decisionArguments[0]];
    const Cell& right = cells[current.decisionArguments[1]];
    bool met;
    if (left.type == kNumber && right.type == kNumber) {
      met = numbersHold(current.op, left.math, right.math);
    } else {
      met = decisionDiamond(current.op, left, right);
    }
    if (met) return current.nextFollows ? at + 1 : current.next;
    return otherwise(current, at);
  };
  // A superinstruction `x = x op constant` whose decision compares x with a number cell and
  // leads back to itself is a counting loop. Once a turn has left x a number without a text and
  // the decision's other cell a number, nothing but x changes from turn to turn, so the loop
  // turns with x in a register (the store forwarding through its cell was the loop's critical
  // path) and stores it when it leaves; an infinite x (its type changes) leaves by the general
  // path. The cells, the time mark and the successor end as the turns one by one leave them.
  auto countable = [&](const Node& current) {
    const std::uint16_t x = current.result;
    if (current.arguments[0] != x || !plainNumber(cells[x]) || cells[x].type != kNumber) {
      return false;
    }
    for (std::uint16_t operand : current.decisionArguments) {
      if (operand != x && cells[operand].type != kNumber) return false;
    }
    return true;
  };
  auto count = [&](const Node& current, std::uint32_t at, auto operation) {
    Cell& x = cells[current.result];
    const bool xLeft = current.decisionArguments[0] == current.result;
    const bool xRight = current.decisionArguments[1] == current.result;
    const float left = cells[current.decisionArguments[0]].math;
    const float right = cells[current.decisionArguments[1]].math;
    const float constant = current.number;
    const Operator op = current.op;
    const std::uint32_t ifTrue = current.nextFollows ? at + 1 : current.next;
    const std::uint32_t ifFalse = otherwise(current, at);
    float value = x.math;
    for (;;) {
      value = operation(value, constant);
      if (std::isinf(value)) {
        storeNumber(x, value);
        return decideAfterEquation(current, at);
      }
      if (current.junctionBetween) data.addTime();
      const std::uint32_t following =
          numbersHold(op, xLeft ? value : left, xRight ? value : right) ? ifTrue : ifFalse;
      if (following != at) {
        storeNumber(x, value);
        return following;
      }
    }
  };
  // The constant forms' superinstructions: turn by turn while the decision leads back, in a
  // register once the loop is a counting one.
  auto withConstantThenDecide = [&](const Node& current, std::uint32_t at, auto operation) {
    std::uint32_t following;
    do {
      withConstant(current, operation);
      following = decideAfterEquation(current, at);
    } while (following == at && !countable(current));
    if (following != at) return following;
    return count(current, at, operation);
  };
  // The superinstructions of equations that cannot count in a register: turn by turn while the
  // decision leads back to them.
  auto repeatThenDecide = [&](const Node& current, std::uint32_t at, auto equation) {
    std::uint32_t following;
    do {
      equation(current);
      following = decideAfterEquation(current, at);
    } while (following == at);
    return following;
  };
  auto chain = [&](const Node& current) {
    float value;
    if (evaluateChain(equations[current.index], cells, value)) {
      storeNumber(cells[current.result], value);
    } else {
      mathEquation(*this, current);
    }
  };

  while (node != kNoNode) {
    const Node& current = nodes[node];
    if constexpr (kTrace) traceBefore(*this, node);
    const std::uint32_t at = node;
    if (current.nextFollows) {
      node = at + 1;
    } else {
      node = current.next;
    }
    switch (current.opcode) {
      case Opcode::Command: runCommand(current); break;
      case Opcode::Equation: mathEquation(*this, current); break;
      case Opcode::EquationChain: chain(current); break;
      case Opcode::AddConstant: withConstant(current, std::plus<float>()); break;
      case Opcode::SubtractConstant: withConstant(current, std::minus<float>()); break;
      case Opcode::MultiplyConstant: withConstant(current, std::multiplies<float>()); break;
      case Opcode::DivideConstant: withConstant(current, std::divides<float>()); break;
      case Opcode::AddCell: withCell(current, std::plus<float>()); break;
      case Opcode::SubtractCell: withCell(current, std::minus<float>()); break;
      case Opcode::MultiplyCell: withCell(current, std::multiplies<float>()); break;
      case Opcode::DivideCell: withCell(current, std::divides<float>()); break;
      case Opcode::Decision:
        if (!decisionDiamond(current.op, cells[current.arguments[0]],
                             cells[current.arguments[1]])) {
          node = otherwise(current, at);
        }
        break;
      case Opcode::DecideEqual:
        if (!holds(current, std::equal_to<float>())) node = otherwise(current, at);
        break;
      case Opcode::DecideGreater:
        if (!holds(current, std::greater<float>())) node = otherwise(current, at);
        break;
      case Opcode::DecideLess:
        if (!holds(current, std::less<float>())) node = otherwise(current, at);
        break;
      case Opcode::DecideGreaterOrEqual:
        if (!holds(current, std::greater_equal<float>())) node = otherwise(current, at);
        break;
      case Opcode::DecideLessOrEqual:
        if (!holds(current, std::less_equal<float>())) node = otherwise(current, at);
        break;
      case Opcode::Number: storeNumber(cells[current.result], current.number); break;
      case Opcode::TextLiteral:
        ensureText(cells[current.result]).units += program_->literals[current.index];
        break;
      case Opcode::TimeSegment: storeTakenNumber(cells[current.result], data.timeSegment()); break;
      case Opcode::CreateChart: createChart(*this, current); break;
      case Opcode::Junction: data.addTime(); break;
      case Opcode::PassThrough: break;
      // A superinstruction whose decision leads back to itself (a loop of an equation, a
      // junction and a decision) turns here without a dispatch: in an untraced run nothing
      // happens between two nodes, so this is the same as going round the engine's loop.
      case Opcode::AddConstantThenDecide:
        node = withConstantThenDecide(current, at, std::plus<float>());
        break;
      case Opcode::SubtractConstantThenDecide:
        node = withConstantThenDecide(current, at, std::minus<float>());
        break;
      case Opcode::MultiplyConstantThenDecide:
        node = withConstantThenDecide(current, at, std::multiplies<float>());
        break;
      case Opcode::DivideConstantThenDecide:
        node = withConstantThenDecide(current, at, std::divides<float>());
        break;
      case Opcode::AddCellThenDecide:
        node = repeatThenDecide(current, at,
                                [&](const Node& n) { withCell(n, std::plus<float>()); });
        break;
      case Opcode::SubtractCellThenDecide:
        node = repeatThenDecide(current, at,
                                [&](const Node& n) { withCell(n, std::minus<float>()); });
        break;
      case Opcode::MultiplyCellThenDecide:
        node = repeatThenDecide(current, at,
                                [&](const Node& n) { withCell(n, std::multiplies<float>()); });
        break;
      case Opcode::DivideCellThenDecide:
        node = repeatThenDecide(current, at,
                                [&](const Node& n) { withCell(n, std::divides<float>()); });
        break;
      case Opcode::EquationChainThenDecide:
        node = repeatThenDecide(current, at, chain);
        break;
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
    // Equations have their own node kind; the registry refuses commands without an action yet.
    default: break;
  }
}

}  // namespace chart
