// Engine services that do nothing, for benchmarks that measure the chart runtime alone.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/services.h"

struct SilentServices final : engine::AudioService, engine::PolygonService, engine::TextureService {
  void setActiveChart(std::string_view) override {}
  void removePolygons(std::int32_t) override {}
  void removePicking(std::int32_t) override {}
  void removeLighting(std::int32_t) override {}
  void deleteTexture(std::int32_t) override {}
  std::int32_t addPolygonsType(std::string_view, std::span<const float>, std::span<const float>,
                               std::span<const float>, std::span<const float>) override {
    return -1;
  }
  void replaceRange(std::int32_t, std::int32_t) override {}
  void replaceArray(std::int32_t, std::span<const float>, std::span<const float>,
                    std::span<const float>, std::span<const float>) override {}
  void updatePolygon(std::int32_t) override {}
  void startMatrixStack() override {}
  void endMatrixStack() override {}
  void setViewportRatio(double, double) override {}
  void setDepthTest(bool) override {}
  void translate(float, float, float) override {}
  void rotate(float, float, float, float) override {}
  void useAlphaBlendFunction() override {}
  void setBlending(bool) override {}
  std::int32_t addPicking(std::int32_t) override { return -1; }
  std::int32_t updatePicking(std::int32_t) override { return -1; }
  std::int32_t addTexture(const std::string&, unsigned, unsigned, unsigned, unsigned) override {
    return -1;
  }
  void bindTexture(std::int32_t) override {}
  std::int32_t addSound(const std::string&) override { return 1; }
  void playSound(std::int32_t) override {}
  void setLoopSound(bool, std::int32_t) override {}
  void setTimeSound(float, std::int32_t) override {}
  void removeSound(std::int32_t) override {}

  engine::Services all() { return {this, this, this}; }
};
