#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "decoded_picture.h"
#include "resource_dir.h"

namespace {

// Where a glyph's opaque pixels are, in picture pixels.
struct InkBox {
  std::uint32_t left = UINT32_MAX, top = UINT32_MAX, right = 0, bottom = 0;  // inclusive
  bool empty() const { return left == UINT32_MAX; }
};

InkBox inkInRegion(const DecodedPicture& sheet, std::uint32_t left, std::uint32_t top,
                   std::uint32_t size) {
  InkBox box;
  for (std::uint32_t y = top; y < top + size; ++y) {
    for (std::uint32_t x = left; x < left + size; ++x) {
      if (sheet.at(x, y, 3) == 0) continue;
      box.left = std::min(box.left, x);
      box.right = std::max(box.right, x);
      box.top = std::min(box.top, y);
      box.bottom = std::max(box.bottom, y);
    }
  }
  return box;
}

class FontSheet : public testing::Test {
 protected:
  static const DecodedPicture& sheet() {
    static const DecodedPicture decoded = decodePicture(resourceFile("RobotFont.tif"));
    return decoded;
  }

  static std::uint32_t cellSize() { return sheet().width / 8; }

  // Row 1 is the top row of the picture, column 1 the leftmost.
  static InkBox inkOfCell(int row, int column) {
    return inkInRegion(sheet(), static_cast<std::uint32_t>(column - 1) * cellSize(),
                       static_cast<std::uint32_t>(row - 1) * cellSize(), cellSize());
  }

  // Ink on a cell's outermost pixels means a glyph reaches into, or in from, a neighbour.
  static bool touchesCellBorder(int row, int column) {
    const std::uint32_t left = static_cast<std::uint32_t>(column - 1) * cellSize();
    const std::uint32_t top = static_cast<std::uint32_t>(row - 1) * cellSize();
    const InkBox box = inkOfCell(row, column);
    return !box.empty() &&
           (box.left <= left || box.top <= top || box.right >= left + cellSize() - 1 ||
            box.bottom >= top + cellSize() - 1);
  }
};

TEST_F(FontSheet, IsAnEightByEightGridOfSquareCells) {
  EXPECT_EQ(sheet().width, sheet().height);
  EXPECT_EQ(sheet().width % 8, 0u);
}

// "A" (code 65) is glyph 32: row 5, column 1. "0" (code 48) is glyph 15: row 2, column 8.
// Their shapes are told apart by where the ink is: "A" is widest at its foot, "0" is a ring.
TEST_F(FontSheet, CapitalAIsInRowFiveColumnOneWithItsFeetAtTheBottom) {
  const InkBox a = inkOfCell(5, 1);
  ASSERT_FALSE(a.empty());
  EXPECT_LT(a.right, cellSize()) << "ink must not reach column 2";
  EXPECT_GE(a.top, 4 * cellSize());
  EXPECT_LT(a.bottom, 5 * cellSize());
  // An upright "A": its apex row is narrower than its feet row.
  std::uint32_t apexWidth = 0, feetWidth = 0;
  for (std::uint32_t x = 0; x < cellSize(); ++x) {
    apexWidth += sheet().at(x, a.top + 1, 3) > 128;
    feetWidth += sheet().at(x, a.bottom - 1, 3) > 128;
  }
  EXPECT_LT(apexWidth, feetWidth) << "the A is upside down: rows are in the wrong order";
}

TEST_F(FontSheet, DigitZeroIsInRowTwoColumnEightAndHollow) {
  const InkBox zero = inkOfCell(2, 8);
  ASSERT_FALSE(zero.empty());
  EXPECT_GE(zero.left, 7 * cellSize());
  EXPECT_GE(zero.top, cellSize());
  EXPECT_LT(zero.bottom, 2 * cellSize());
  const std::uint32_t middleX = (zero.left + zero.right) / 2,
                      middleY = (zero.top + zero.bottom) / 2;
  EXPECT_EQ(sheet().at(middleX, middleY, 3), 0) << "the middle of a 0 is empty";
}

TEST_F(FontSheet, EveryGlyphHasInkCentredInItsOwnCellWithAMargin) {
  for (int code = 33; code <= 96; ++code) {
    const int glyph = code - 33;
    const int row = 1 + glyph / 8, column = 1 + glyph % 8;
    const InkBox box = inkOfCell(row, column);
    ASSERT_FALSE(box.empty()) << "no glyph for code " << code;
    EXPECT_FALSE(touchesCellBorder(row, column)) << "code " << code << " touches its cell's border";
    const double inkCentre = (box.left + box.right + 1) / 2.0;
    const double cellCentre = (column - 0.5) * cellSize();
    EXPECT_NEAR(inkCentre, cellCentre, 1.0) << "code " << code;
  }
}

TEST_F(FontSheet, GlyphsAreWhite) {
  for (std::size_t i = 0; i < sheet().samples.size(); i += 4) {
    if (sheet().samples[i + 3] == 0) continue;
    ASSERT_EQ(sheet().samples[i] & sheet().samples[i + 1] & sheet().samples[i + 2], 255)
        << "pixel " << i / 4;
  }
}

}  // namespace
