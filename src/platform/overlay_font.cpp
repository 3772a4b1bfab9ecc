#include "platform/overlay_font.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <cstring>

namespace platform {

namespace {

std::string findFontFile(const std::string& family) {
  std::string path;
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) return path;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str()));
  if (pattern) {
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
      FcChar8* file = nullptr;
      if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
        path = reinterpret_cast<const char*>(file);
      }
      FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
  }
  FcConfigDestroy(config);
  return path;
}

}  // namespace

std::unique_ptr<OverlayFont> OverlayFont::open(const std::string& family, int pixels,
                                               std::string& error) {
  if (!TTF_WasInit() && TTF_Init() != 0) {
    error = TTF_GetError();
    return nullptr;
  }
  const std::string file = findFontFile(family);
  if (file.empty()) {
    error = "no font matches \"" + family + "\"";
    return nullptr;
  }
  // At the library's 72 dots per inch a point is a pixel.
  TTF_Font* font = TTF_OpenFont(file.c_str(), pixels);
  if (!font) {
    error = file + ": " + TTF_GetError();
    return nullptr;
  }
  return std::unique_ptr<OverlayFont>(new OverlayFont(font));
}

OverlayFont::~OverlayFont() { TTF_CloseFont(static_cast<TTF_Font*>(font)); }

void OverlayFont::render(const char* text, Rgb colour, TextImage& image) const {
  image.width = image.height = 0;
  image.rgba.clear();
  if (!text || !*text) return;
  auto* ttf = static_cast<TTF_Font*>(font);
  SDL_Surface* rendered =
      TTF_RenderUTF8_Blended(ttf, text, SDL_Color{colour.red, colour.green, colour.blue, 255});
  if (!rendered) return;
  SDL_Surface* surface = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_RGBA32, 0);
  SDL_FreeSurface(rendered);
  if (!surface) return;

  image.width = surface->w;
  image.height = surface->h;
  image.descent = -TTF_FontDescent(ttf);
  const std::size_t rowBytes = std::size_t(surface->w) * 4;
  image.rgba.resize(rowBytes * std::size_t(surface->h));
  // RGBA32 is R, G, B, A in memory; rows are flipped to bottom-up.
  const auto* pixels = static_cast<const std::uint8_t*>(surface->pixels);
  for (int row = 0; row < surface->h; ++row) {
    std::memcpy(&image.rgba[rowBytes * std::size_t(surface->h - 1 - row)],
                pixels + std::size_t(row) * std::size_t(surface->pitch), rowBytes);
  }
  SDL_FreeSurface(surface);
}

}  // namespace platform
