// Stand-in engine services that record every call in order, for the tests and for the game until
// the real polygon, texture and audio services land.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/services.h"

namespace chart {

class RecordingServices {
 public:
  struct Call {
    std::string what;   // "audio.setActiveChart", "polygons.removePolygons", ...
    std::string chart;  // for setActiveChart; the type name or path of an add
    std::int32_t index = 0;
    bool operator==(const Call&) const = default;
  };

  RecordingServices() = default;
  // The stand-ins point back at this object.
  RecordingServices(const RecordingServices&) = delete;
  RecordingServices& operator=(const RecordingServices&) = delete;

  engine::Services services() { return {&audio, &polygons, &textures}; }

  // Every call to the three services, oldest first.
  std::vector<Call> calls;

 private:
  void record(std::string_view what, std::string_view chart, std::int32_t index) {
    calls.push_back({std::string(what), std::string(chart), index});
  }

  struct Audio final : engine::AudioService {
    explicit Audio(RecordingServices& recorder) : log(recorder) {}
    void setActiveChart(std::string_view name) override {
      log.record("audio.setActiveChart", name, 0);
    }
    std::int32_t addSound(const std::string& path) override {
      log.record("audio.addSound", path, ++soundIndex);
      return soundIndex;
    }
    void playSound(std::int32_t index) override { log.record("audio.playSound", {}, index); }
    void setLoopSound(bool loop, std::int32_t index) override {
      log.record(loop ? "audio.setLoopSound YES" : "audio.setLoopSound NO", {}, index);
    }
    void setTimeSound(float, std::int32_t index) override {
      log.record("audio.setTimeSound", {}, index);
    }
    void removeSound(std::int32_t index) override { log.record("audio.removeSound", {}, index); }
    RecordingServices& log;
    std::int32_t soundIndex = 0;
  };
  struct Polygons final : engine::PolygonService {
    explicit Polygons(RecordingServices& recorder) : log(recorder) {}
    void setActiveChart(std::string_view name) override {
      log.record("polygons.setActiveChart", name, 0);
    }
    void removePolygons(std::int32_t index) override {
      log.record("polygons.removePolygons", {}, index);
    }
    void removePicking(std::int32_t index) override {
      log.record("polygons.removePicking", {}, index);
    }
    void removeLighting(std::int32_t index) override {
      log.record("polygons.removeLighting", {}, index);
    }
    // The graphics calls are recorded by name (and index); adds hand out no index.
    std::int32_t addPolygonsType(std::string_view type, std::span<const float>,
                                 std::span<const float>, std::span<const float>,
                                 std::span<const float>) override {
      log.record("polygons.addPolygonsType", type, 0);
      return -1;
    }
    void replaceRange(std::int32_t start, std::int32_t) override {
      log.record("polygons.replaceRange", {}, start);
    }
    void replaceArray(std::int32_t index, std::span<const float>, std::span<const float>,
                      std::span<const float>, std::span<const float>) override {
      log.record("polygons.replaceArray", {}, index);
    }
    void updatePolygon(std::int32_t index) override {
      log.record("polygons.updatePolygon", {}, index);
    }
    void startMatrixStack() override { log.record("polygons.startMatrixStack", {}, 0); }
    void endMatrixStack() override { log.record("polygons.endMatrixStack", {}, 0); }
    void setViewportRatio(double, double) override {
      log.record("polygons.setViewportRatio", {}, 0);
    }
    void setDepthTest(bool enabled) override { log.record("polygons.setDepthTest", {}, enabled); }
    void translate(float, float, float) override { log.record("polygons.translate", {}, 0); }
    void rotate(float, float, float, float) override { log.record("polygons.rotate", {}, 0); }
    void useAlphaBlendFunction() override { log.record("polygons.useAlphaBlendFunction", {}, 0); }
    void setBlending(bool enabled) override { log.record("polygons.setBlending", {}, enabled); }
    std::int32_t addPicking(std::int32_t polygonIndex) override {
      log.record("polygons.addPicking", {}, polygonIndex);
      return -1;
    }
    std::int32_t updatePicking(std::int32_t pickingIndex) override {
      log.record("polygons.updatePicking", {}, pickingIndex);
      return -1;
    }
    RecordingServices& log;
  };
  struct Textures final : engine::TextureService {
    explicit Textures(RecordingServices& recorder) : log(recorder) {}
    void setActiveChart(std::string_view name) override {
      log.record("textures.setActiveChart", name, 0);
    }
    void deleteTexture(std::int32_t index) override {
      log.record("textures.deleteTexture", {}, index);
    }
    std::int32_t addTexture(const std::string& path, unsigned, unsigned, unsigned,
                            unsigned) override {
      log.record("textures.addTexture", path, 0);
      return -1;
    }
    void bindTexture(std::int32_t index) override { log.record("textures.bindTexture", {}, index); }
    RecordingServices& log;
  };

  Audio audio{*this};
  Polygons polygons{*this};
  Textures textures{*this};
};

}  // namespace chart
