#include "font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstring>
#include <stdexcept>

namespace resgen {

struct FontFace::Library {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
};

FontFace::FontFace(const std::filesystem::path& file) : library_(new Library) {
  if (FT_Init_FreeType(&library_->library) != 0) {
    delete library_;
    throw std::runtime_error("cannot start FreeType");
  }
  if (FT_New_Face(library_->library, file.c_str(), 0, &library_->face) != 0) {
    FT_Done_FreeType(library_->library);
    delete library_;
    throw std::runtime_error("cannot open font " + file.string());
  }
}

FontFace::~FontFace() {
  FT_Done_Face(library_->face);
  FT_Done_FreeType(library_->library);
  delete library_;
}

void FontFace::setPixelSize(int pixels) {
  if (FT_Set_Pixel_Sizes(library_->face, 0, static_cast<FT_UInt>(pixels)) != 0) {
    throw std::runtime_error("font cannot be set to the requested size");
  }
}

GlyphBitmap FontFace::render(char32_t code) const {
  FT_Face face = library_->face;
  const FT_UInt index = FT_Get_Char_Index(face, code);
  if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_NO_HINTING) != 0) {
    throw std::runtime_error("font has no glyph for code " + std::to_string(code));
  }
  const FT_GlyphSlot slot = face->glyph;
  GlyphBitmap glyph;
  glyph.width = static_cast<int>(slot->bitmap.width);
  glyph.rows = static_cast<int>(slot->bitmap.rows);
  glyph.left = slot->bitmap_left;
  glyph.top = slot->bitmap_top;
  glyph.advance = static_cast<float>(slot->advance.x) / 64.0f;
  glyph.coverage.resize(static_cast<std::size_t>(glyph.width) *
                        static_cast<std::size_t>(glyph.rows));
  for (int y = 0; y < glyph.rows; ++y) {
    std::memcpy(
        glyph.coverage.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(glyph.width),
        slot->bitmap.buffer + static_cast<std::ptrdiff_t>(y) * slot->bitmap.pitch,
        static_cast<std::size_t>(glyph.width));
  }
  return glyph;
}

float FontFace::kerning(char32_t left, char32_t right) const {
  FT_Face face = library_->face;
  if (!FT_HAS_KERNING(face)) return 0.0f;
  FT_Vector delta{};
  FT_Get_Kerning(face, FT_Get_Char_Index(face, left), FT_Get_Char_Index(face, right),
                 FT_KERNING_UNFITTED, &delta);
  return static_cast<float>(delta.x) / 64.0f;
}

}  // namespace resgen
