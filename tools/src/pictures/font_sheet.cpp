#include <algorithm>
#include <cmath>

#include "pictures.h"

namespace resgen {

namespace {

constexpr int kSheetSize = 512;
constexpr int kCellsPerRow = 8;
constexpr int kCellSize = kSheetSize / kCellsPerRow;
// Empty pixels kept around every glyph, so that filtering and mipmapping of one cell
// never pick up a neighbour's ink.
constexpr int kMargin = 5;
constexpr int kFirstCode = 33;
constexpr int kGlyphCount = kCellsPerRow * kCellsPerRow;

// Extent of all glyphs together, relative to the baseline (y grows down).
struct SheetMetrics {
  int widest = 0;
  int above = 0;  // highest ink above the baseline
  int below = 0;  // lowest ink below the baseline
};

SheetMetrics measureGlyphs(const FontFace& font) {
  SheetMetrics metrics;
  for (int i = 0; i < kGlyphCount; ++i) {
    const GlyphBitmap glyph = font.render(static_cast<char32_t>(kFirstCode + i));
    metrics.widest = std::max(metrics.widest, glyph.width);
    metrics.above = std::max(metrics.above, glyph.top);
    metrics.below = std::max(metrics.below, glyph.rows - glyph.top);
  }
  return metrics;
}

// Largest pixel size at which every glyph fits its cell inside the margin; glyphs share
// one baseline so that a line of text reads straight.
SheetMetrics fitFont(FontFace& font) {
  constexpr int room = kCellSize - 2 * kMargin;
  for (int pixels = kCellSize;; --pixels) {
    font.setPixelSize(pixels);
    const SheetMetrics metrics = measureGlyphs(font);
    if (metrics.widest <= room && metrics.above + metrics.below <= room) return metrics;
  }
}

}  // namespace

Image makeFontSheet(FontFace& font) {
  const SheetMetrics metrics = fitFont(font);
  // The block of all glyphs' extents is centred vertically in the cell.
  const int baseline = (kCellSize - (metrics.above + metrics.below)) / 2 + metrics.above;

  Image sheet(kSheetSize, kSheetSize, 4);
  std::fill(sheet.samples.begin(), sheet.samples.end(), 255);
  for (std::size_t i = 3; i < sheet.samples.size(); i += 4) sheet.samples[i] = 0;

  for (int n = 0; n < kGlyphCount; ++n) {
    const GlyphBitmap glyph = font.render(static_cast<char32_t>(kFirstCode + n));
    // Row 1 of the sheet is the top row of the picture.
    const int cellLeft = (n % kCellsPerRow) * kCellSize;
    const int cellTop = (n / kCellsPerRow) * kCellSize;
    const int left = cellLeft + (kCellSize - glyph.width) / 2;
    const int top = cellTop + baseline - glyph.top;
    for (int y = 0; y < glyph.rows; ++y) {
      for (int x = 0; x < glyph.width; ++x) sheet.pixel(left + x, top + y)[3] = glyph.at(x, y);
    }
  }
  return sheet;
}

}  // namespace resgen
