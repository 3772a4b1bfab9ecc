// The back end that draws nothing: the engine's state and the pictures' sizes are all that a
// replay's verification needs.
#pragma once

#include "engine/drawing.h"

namespace engine {

class NullDrawing final : public Drawing {
 public:
  // As large as the GL back end allows on the development machine: the resource pictures that
  // load there load here.
  static constexpr int kMaxTextureSide = 16384;

  void applyDefaults() override {}
  void useDefaultLight() override {}
  void stateChanged() override {}
  void clear() override {}
  void drawPolygon(const DrawState&, const PolygonRecord&) override {}
  int maxTextureSide() override { return kMaxTextureSide; }
  void loadTexture(std::uint32_t, const platform::DecodedImage&, const TextureSettings&) override {}
  void bindTexture(std::uint32_t) override {}
  void deleteTexture(std::uint32_t) override {}
  void beginOverlay(int, int) override {}
  void endOverlay() override {}
  void fillRect(int, int, int, int, const std::array<float, 4>&) override {}
  void drawPixels(int, int, const PixelImage&) override {}
  void drawDimmedPixels(int, int, float, const PixelImage&, float) override {}
  void drawFrameRate(int, int, float, float, int, const PixelImage&) override {}
  bool readPixels(int, int, bool, std::vector<std::uint8_t>& pixels) override {
    pixels.clear();
    return false;
  }
};

}  // namespace engine
