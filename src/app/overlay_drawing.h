// Drawing over the finished picture in window pixels: the notes, the focus outline and the pause
// screen, through the drawing back end. Whatever the charts set is put back afterwards.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "app/overlay_layout.h"
#include "platform/overlay_font.h"
#include "platform/window.h"

// While it lives, the back end draws flat colours in window pixels over the whole drawable (origin at the
// bottom left, y up), without depth test, lighting, texturing or culling, blending by alpha.
class WindowPixelsOverlay {
 public:
  explicit WindowPixelsOverlay(platform::Size bounds);
  ~WindowPixelsOverlay();
  WindowPixelsOverlay(const WindowPixelsOverlay&) = delete;
  WindowPixelsOverlay& operator=(const WindowPixelsOverlay&) = delete;
};

// Fills a rectangle of window pixels with black at `opacity` (0 to 1): a backdrop that keeps
// words readable over any picture. Inside a `WindowPixelsOverlay`.
void drawBackdrop(const overlay_layout::Rect& area, float opacity);

// A face the overlays write in, and what an alert calls it when it cannot be opened.
struct OverlayFace {
  const char* pattern;
  const char* role;
};
inline constexpr OverlayFace kOverlayFace{"DejaVu Sans:style=Bold", "overlay"};
inline constexpr OverlayFace kFrameRateFace{"DejaVu Sans:style=Book", "frames-per-second"};

// One line of text in the overlay font; rendered to pixels only when the text changes.
class OverlayLabel {
 public:
  OverlayLabel(int heightInPixels, platform::Rgb textColour, OverlayFace face = kOverlayFace)
      : pixels(heightInPixels), colour(textColour), fontFace(face) {}

  // Renders only a text other than the last (no allocation otherwise: it runs every frame).
  void setText(std::string_view text);
  // The words' height from now on; they are rendered again at the next `setText`.
  void setHeight(int heightInPixels);
  int width() const { return image.width; }
  int height() const { return image.height; }
  platform::Size size() const { return {image.width, image.height}; }
  // The rendered words, for a caller that places them by their baseline.
  const platform::TextImage& picture() const { return image; }
  // Draws it with its bottom-left corner at (x, y); inside a `WindowPixelsOverlay`.
  void draw(int x, int y) const;

 private:
  int pixels;
  platform::Rgb colour;
  OverlayFace fontFace;
  std::string text;
  std::unique_ptr<platform::OverlayFont> font;
  platform::TextImage image;
};
