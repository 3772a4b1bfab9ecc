// Stand-in engine services that record every call in order, for the chart tests.
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
  // The stand-ins hold a reference to `calls`.
  RecordingServices(const RecordingServices&) = delete;
  RecordingServices& operator=(const RecordingServices&) = delete;

  engine::Services services() { return {&audio, &polygons, &textures}; }

  // Every call to the three services, oldest first.
  std::vector<Call> calls;

 private:
  // What the three stand-ins share: the one list their calls go to.
  struct Recorder {
    explicit Recorder(std::vector<Call>& to) : log(to) {}
    void note(std::string_view what, std::string_view chart = {}, std::int32_t index = 0) {
      log.push_back({std::string(what), std::string(chart), index});
    }
    std::vector<Call>& log;
  };

  struct Audio final : engine::AudioService, Recorder {
    using Recorder::Recorder;
    void setActiveChart(std::string_view name) override { note("audio.setActiveChart", name); }
    std::int32_t addSound(const std::string& path) override {
      note("audio.addSound", path, ++soundIndex);
      return soundIndex;
    }
    void playSound(std::int32_t index) override { note("audio.playSound", {}, index); }
    void setLoopSound(bool loop, std::int32_t index) override {
      note(loop ? "audio.setLoopSound YES" : "audio.setLoopSound NO", {}, index);
    }
    void setTimeSound(float, std::int32_t index) override { note("audio.setTimeSound", {}, index); }
    void removeSound(std::int32_t index) override { note("audio.removeSound", {}, index); }
    std::int32_t soundIndex = 0;
  };
  // The graphics calls are recorded by name (and index); adds hand out no index.
  struct Polygons final : engine::PolygonService, Recorder {
    using Recorder::Recorder;
    void setActiveChart(std::string_view name) override { note("polygons.setActiveChart", name); }
    void removePolygons(std::int32_t index) override { note("polygons.removePolygons", {}, index); }
    void removePicking(std::int32_t index) override { note("polygons.removePicking", {}, index); }
    void removeLighting(std::int32_t index) override { note("polygons.removeLighting", {}, index); }
    std::int32_t addPolygonsType(std::string_view type, std::span<const float>,
                                 std::span<const float>, std::span<const float>,
                                 std::span<const float>) override {
      note("polygons.addPolygonsType", type);
      return -1;
    }
    void replaceRange(std::int32_t start, std::int32_t) override {
      note("polygons.replaceRange", {}, start);
    }
    void replaceArray(std::int32_t index, std::span<const float>, std::span<const float>,
                      std::span<const float>, std::span<const float>) override {
      note("polygons.replaceArray", {}, index);
    }
    void updatePolygon(std::int32_t index) override { note("polygons.updatePolygon", {}, index); }
    void startMatrixStack() override { note("polygons.startMatrixStack"); }
    void endMatrixStack() override { note("polygons.endMatrixStack"); }
    void setViewportRatio(double, double) override { note("polygons.setViewportRatio"); }
    void setDepthTest(bool enabled) override { note("polygons.setDepthTest", {}, enabled); }
    void translate(float, float, float) override { note("polygons.translate"); }
    void rotate(float, float, float, float) override { note("polygons.rotate"); }
    void useAlphaBlendFunction() override { note("polygons.useAlphaBlendFunction"); }
    void setBlending(bool enabled) override { note("polygons.setBlending", {}, enabled); }
    std::int32_t addPicking(std::int32_t polygonIndex) override {
      note("polygons.addPicking", {}, polygonIndex);
      return -1;
    }
    std::int32_t updatePicking(std::int32_t pickingIndex) override {
      note("polygons.updatePicking", {}, pickingIndex);
      return -1;
    }
  };
  struct Textures final : engine::TextureService, Recorder {
    using Recorder::Recorder;
    void setActiveChart(std::string_view name) override { note("textures.setActiveChart", name); }
    void deleteTexture(std::int32_t index) override { note("textures.deleteTexture", {}, index); }
    std::int32_t addTexture(const std::string& path, unsigned, unsigned, unsigned,
                            unsigned) override {
      note("textures.addTexture", path);
      return -1;
    }
    void bindTexture(std::int32_t index) override { note("textures.bindTexture", {}, index); }
  };

  Audio audio{calls};
  Polygons polygons{calls};
  Textures textures{calls};
};

}  // namespace chart
