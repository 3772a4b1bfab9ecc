#include "chart/cell.h"

namespace chart {

void setBuiltinConstants(std::span<Cell> cells) {
  auto number = [&](BuiltinCell at, float value) {
    cells[at].math = value;
    cells[at].type = kNumber;
  };
  number(kYes, 1.0f);
  number(kNo, 0.0f);
  cells[kEmptyConstant].type = kEmpty;
  // Undefined by its type, not its value.
  cells[kUndefinedConstant].math = 0.0f;
  cells[kUndefinedConstant].type = kUndefined;
  number(kCustomBlend, 0.0f);
  number(kSelectedText, 0.0f);
  number(kSelectedObject, 0.0f);
  cells[kMinFilter].type = kEmpty;
  cells[kMagFilter].type = kEmpty;
  number(kIpad, 0.0f);
  number(kIphone, 0.0f);
  number(kMacosx, 1.0f);
  number(kMacsim, 0.0f);
}

void clearCell(Cell& cell) {
  if (cell.object != nullptr) {
    List* const list = cell.object;
    // The cell reads as empty before the list goes: tearing down a chart of the list must not
    // find a half-cleared cell.
    cell.object = nullptr;
    cell.type = kEmpty;
    List::release(list);
  } else if (cell.text != nullptr) {
    Text::release(cell.text);
    cell.text = nullptr;
  } else if (cell.type == kUndefined || cell.type == kNumber) {
    cell.math = 0.0f;
  }
  cell.type = kEmpty;
}

void releaseCell(Cell& cell) {
  Text::release(cell.text);
  cell.text = nullptr;
  List* const list = cell.object;
  cell.object = nullptr;
  cell.type = kEmpty;
  List::release(list);
}

List& ensureList(Cell& cell, CellType kindWhenCreated) {
  if (cell.object == nullptr) {
    cell.object = List::create();
    cell.type = kindWhenCreated;
  }
  return *cell.object;
}

}  // namespace chart
