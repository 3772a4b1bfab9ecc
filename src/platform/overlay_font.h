// The sans-serif font of the frames-per-second overlay, rendered into pixels the view can draw.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// A line of text as 8-bit RGBA pixels, rows from the bottom up (the order glDrawPixels takes).
struct TextImage {
  int width = 0;
  int height = 0;
  int descent = 0;  // pixels from the bottom row up to the baseline
  std::vector<std::uint8_t> rgba;
};

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
};

class OverlayFont {
 public:
  // Finds `family` through fontconfig and opens it at `pixels` high; null with `error` set when
  // no such font can be opened.
  static std::unique_ptr<OverlayFont> open(const std::string& family, int pixels,
                                           std::string& error);
  ~OverlayFont();
  OverlayFont(const OverlayFont&) = delete;
  OverlayFont& operator=(const OverlayFont&) = delete;

  // Renders `text` (UTF-8, one line) into `image`, reusing its storage. An empty text gives an
  // empty image.
  void render(const char* text, Rgb colour, TextImage& image) const;

 private:
  explicit OverlayFont(void* ttfFont) : font(ttfFont) {}
  void* font;  // TTF_Font
};

}  // namespace platform
