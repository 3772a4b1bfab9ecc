// The node engine: runs a chart's chain one node after another in a loop, so that a chain of any
// length, loops included, needs no stack that grows with it. Each node is a compact record with
// its cells resolved; one switch picks its action and its successor.
#include "app/data.h"
#include "chart/actions.h"
#include "chart/chart.h"
#include "chart/decision.h"
#include "chart/trace.h"

namespace chart {

template <bool kTrace>
void Chart::runFrom(std::uint32_t node) {
  const Node* const nodes = program_->nodes.data();
  Cell* const cells = cells_.get();
  while (node != kNoNode) {
    const Node& current = nodes[node];
    if constexpr (kTrace) traceBefore(*this, node);
    const std::uint32_t at = node;
    node = current.next;
    switch (current.kind) {
      case NodeKind::Command: runCommand(current); break;
      case NodeKind::Equation: mathEquation(*this, current); break;
      case NodeKind::Decision:
        if (!decisionDiamond(current.op, cells[current.arguments[0]],
                             cells[current.arguments[1]])) {
          node = current.nextIfFalse;
        }
        break;
      case NodeKind::Number: storeNumber(cells[current.result], current.number); break;
      case NodeKind::TextLiteral:
        ensureText(cells[current.result]).units += program_->literals[current.index];
        break;
      case NodeKind::TimeSegment:
        storeTakenNumber(cells[current.result], Data::share().timeSegment());
        break;
      case NodeKind::CreateChart: createChart(*this, current); break;
      case NodeKind::Junction: Data::share().addTime(); break;
      case NodeKind::PassThrough: break;
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
