#pragma once

#include <string_view>

#include "font_face.h"
#include "mask.h"
#include "shapes.h"

namespace resgen {

// Ink extent of a line of text relative to its pen start on the baseline (y grows down).
struct InkBox {
  float left = 0.0f;
  float top = 0.0f;
  float right = 0.0f;
  float bottom = 0.0f;

  float width() const { return right - left; }
  float height() const { return bottom - top; }
};

// `tracking` adds that many pixels between letters, for spaced-out titles.
InkBox measureText(const FontFace& font, std::string_view text, float tracking = 0.0f);

// Largest pixel size, from `largest` down, at which the text's ink fits the given box;
// leaves the font set to that size.
int fitTextSize(FontFace& font, std::string_view text, float tracking, float maxWidth,
                float maxHeight, int largest);

// Draws the text's coverage into `mask` with its pen starting at `origin` on the baseline.
void drawText(Mask& mask, const FontFace& font, std::string_view text, Point origin,
              float tracking = 0.0f);

// Draws the text so that its ink box is centred on `centre`.
void drawTextCentred(Mask& mask, const FontFace& font, std::string_view text, Point centre,
                     float tracking = 0.0f);

}  // namespace resgen
