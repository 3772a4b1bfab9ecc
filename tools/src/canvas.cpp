#include "canvas.h"

#include <cstddef>

namespace resgen {

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {}

void Canvas::paintOver(const Mask& mask, const Paint& paint, float opacity) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const float alpha = mask.at(x, y) * opacity;
      if (alpha <= 0.0f) continue;
      const Colour colour = paint(x, y);
      Pixel& pixel = pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                             static_cast<std::size_t>(x)];
      const float keep = 1.0f - alpha;
      pixel.r = colour.r * alpha + pixel.r * keep;
      pixel.g = colour.g * alpha + pixel.g * keep;
      pixel.b = colour.b * alpha + pixel.b * keep;
      pixel.a = alpha + pixel.a * keep;
    }
  }
}

void Canvas::paintOver(const Mask& mask, Colour colour, float opacity) {
  paintOver(
      mask, [colour](int, int) { return colour; }, opacity);
}

Image Canvas::toPremultipliedRgba() const { return toRgba(false); }

Image Canvas::toStraightRgba() const { return toRgba(true); }

Image Canvas::toRgba(bool unpremultiply) const {
  Image image(width_, height_, 4);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const Pixel& pixel = pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                                   static_cast<std::size_t>(x)];
      const float divisor = unpremultiply && pixel.a > 0.0f ? pixel.a : 1.0f;
      image.setColour(x, y, {pixel.r / divisor, pixel.g / divisor, pixel.b / divisor});
      image.pixel(x, y)[3] = toSample(pixel.a);
    }
  }
  return image;
}

}  // namespace resgen
