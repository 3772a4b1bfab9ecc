#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace resgen {

// One rendered glyph: 8-bit coverage, placed relative to the pen on the baseline
// (`left` to the right of the pen, `top` above the baseline).
struct GlyphBitmap {
  int width = 0;
  int rows = 0;
  int left = 0;
  int top = 0;
  float advance = 0.0f;
  std::vector<std::uint8_t> coverage;

  std::uint8_t at(int x, int y) const {
    return coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(x)];
  }
};

// A scalable font file opened with FreeType. Glyphs are rendered unhinted so that
// their shapes are the designer's at every size.
class FontFace {
 public:
  explicit FontFace(const std::filesystem::path& file);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  void setPixelSize(int pixels);
  GlyphBitmap render(char32_t code) const;
  // Extra advance in pixels between two neighbouring characters (usually negative).
  float kerning(char32_t left, char32_t right) const;

 private:
  struct Library;
  Library* library_;
};

}  // namespace resgen
