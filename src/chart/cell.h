// The one value type of the chart language. A chart keeps its whole state in a fixed array of
// cells; a type code says which of the fields holds the value.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <span>
#include <string_view>

#include "chart/list.h"
#include "chart/text.h"

namespace chart {

enum CellType : std::int32_t {
  kEmpty = 0,
  kUndefined = 1,  // a number that is plus or minus infinity
  kNumber = 2,     // a finite number, or a NaN
  kText = 3,
  kObjectList = 4,  // chart objects
  kNumberList = 5,
  kTextList = 6,
};

// A cell owns one reference to its `text` and one to its `object`. Only the type says what the
// cell holds: clearing leaves a text behind a list, and an old number behind a text.
struct Cell {
  float math = 0.0f;
  Text* text = nullptr;
  List* object = nullptr;
  std::int32_t type = kEmpty;
};

// The thirteen constant cells every chart starts with; a chart's own cells follow them.
enum BuiltinCell : std::uint16_t {
  kYes,
  kNo,
  kEmptyConstant,
  kUndefinedConstant,
  kCustomBlend,
  kSelectedText,
  kSelectedObject,
  kMinFilter,
  kMagFilter,
  kIpad,
  kIphone,
  kMacosx,
  kMacsim,
  kBuiltinCellCount,
};

inline constexpr std::array<std::string_view, kBuiltinCellCount> kBuiltinCellNames = {
    "YES",           "NO",         "EMPTY",      "UNDEFINED", "CUSTOM_BLEND",
    "SELECTED_TEXT", "SELECTED_OBJECT", "MIN_FILTER", "MAG_FILTER", "IPAD",
    "IPHONE",        "MACOSX",     "MACSIM"};

// Gives cells 0 to 12 their constant contents; the desktop platform cell is the one set.
void setBuiltinConstants(std::span<Cell> cells);

// Empties a cell: a list is released (and nothing else), else a text, else a number is zeroed;
// the type becomes empty in every case.
void clearCell(Cell& cell);

// An empty source (the `EMPTY` constant in the charts) empties the result of a command that
// adds it; says whether it did.
inline bool clearedForEmptySource(const Cell& source, Cell& result) {
  if (source.type != kEmpty) return false;
  clearCell(result);
  return true;
}

// Releases both references, as a chart's teardown does, and leaves the cell empty.
void releaseCell(Cell& cell);

// Stores a computed or constant number: type undefined for an infinity, number otherwise.
inline void storeNumber(Cell& cell, float value) {
  cell.math = value;
  cell.type = std::isinf(value) ? kUndefined : kNumber;
}
// Stores a number taken from elsewhere (a length, a code, an index): type number, no test.
inline void storeTakenNumber(Cell& cell, float value) {
  cell.math = value;
  cell.type = kNumber;
}

// The cell's text, created empty (and the type set to text) when it has none.
inline Text& ensureText(Cell& cell) {
  if (cell.text == nullptr) {
    cell.text = Text::create();
    cell.type = kText;
  }
  return *cell.text;
}
// The cell's list, created empty (and the type set to `kindWhenCreated`) when it has none.
List& ensureList(Cell& cell, CellType kindWhenCreated);

}  // namespace chart
