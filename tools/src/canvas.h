#pragma once

#include <functional>
#include <vector>

#include "colour.h"
#include "image.h"
#include "mask.h"

namespace resgen {

// Colour of a layer at a pixel; lets a layer carry gradients and textures.
using Paint = std::function<Colour(int x, int y)>;

// A float RGBA surface with premultiplied colour, painted layer by layer with "over".
class Canvas {
 public:
  Canvas(int width, int height);

  // Lays `paint` over the canvas wherever `mask` covers it, scaled by `opacity`.
  void paintOver(const Mask& mask, const Paint& paint, float opacity = 1.0f);
  void paintOver(const Mask& mask, Colour colour, float opacity = 1.0f);

  // RGBA whose colour is premultiplied by alpha, i.e. the picture as seen over black.
  Image toPremultipliedRgba() const;
  // RGBA whose colour is independent of alpha, as PNG stores it.
  Image toStraightRgba() const;

 private:
  Image toRgba(bool unpremultiply) const;

  struct Pixel {
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 0.0f;
  };
  int width_;
  int height_;
  std::vector<Pixel> pixels_;
};

}  // namespace resgen
