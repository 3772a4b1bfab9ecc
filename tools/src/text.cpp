#include "text.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace resgen {

namespace {

// Calls `visit(glyph, penX)` for each character of a line laid out with kerning and tracking.
template <typename Visit>
void layOut(const FontFace& font, std::string_view text, float tracking, Visit visit) {
  float pen = 0.0f;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto code = static_cast<char32_t>(static_cast<unsigned char>(text[i]));
    if (i > 0) pen += font.kerning(static_cast<unsigned char>(text[i - 1]), code) + tracking;
    const GlyphBitmap glyph = font.render(code);
    visit(glyph, pen);
    pen += glyph.advance;
  }
}

}  // namespace

InkBox measureText(const FontFace& font, std::string_view text, float tracking) {
  constexpr float far = std::numeric_limits<float>::max();
  InkBox box{far, far, -far, -far};
  layOut(font, text, tracking, [&box](const GlyphBitmap& glyph, float pen) {
    if (glyph.width == 0) return;
    const float left = std::round(pen) + static_cast<float>(glyph.left);
    box.left = std::min(box.left, left);
    box.right = std::max(box.right, left + static_cast<float>(glyph.width));
    box.top = std::min(box.top, -static_cast<float>(glyph.top));
    box.bottom = std::max(box.bottom, static_cast<float>(glyph.rows - glyph.top));
  });
  return box;
}

int fitTextSize(FontFace& font, std::string_view text, float tracking, float maxWidth,
                float maxHeight, int largest) {
  for (int pixels = largest; pixels > 1; --pixels) {
    font.setPixelSize(pixels);
    const InkBox box = measureText(font, text, tracking);
    if (box.width() <= maxWidth && box.height() <= maxHeight) return pixels;
  }
  font.setPixelSize(1);
  return 1;
}

void drawText(Mask& mask, const FontFace& font, std::string_view text, Point origin,
              float tracking) {
  layOut(font, text, tracking, [&](const GlyphBitmap& glyph, float pen) {
    const int left = static_cast<int>(std::round(origin.x + pen)) + glyph.left;
    const int top = static_cast<int>(std::round(origin.y)) - glyph.top;
    for (int y = 0; y < glyph.rows; ++y) {
      for (int x = 0; x < glyph.width; ++x) {
        const int mx = left + x, my = top + y;
        if (mx < 0 || my < 0 || mx >= mask.width || my >= mask.height) continue;
        mask.at(mx, my) = std::max(mask.at(mx, my), static_cast<float>(glyph.at(x, y)) / 255.0f);
      }
    }
  });
}

void drawTextCentred(Mask& mask, const FontFace& font, std::string_view text, Point centre,
                     float tracking) {
  const InkBox box = measureText(font, text, tracking);
  const Point origin{std::round(centre.x - (box.left + box.right) / 2.0f),
                     std::round(centre.y - (box.top + box.bottom) / 2.0f)};
  drawText(mask, font, text, origin, tracking);
}

}  // namespace resgen
