// Stand-in engine services that record every call in order, for the tests and for the game until
// the real polygon, texture and audio services land.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "chart/services.h"

namespace chart {

class RecordingServices {
 public:
  struct Call {
    std::string what;   // "audio.setActiveChart", "polygons.removePolygons", ...
    std::string chart;  // for setActiveChart; the path for addSound
    std::int32_t index = 0;
    bool operator==(const Call&) const = default;
  };

  RecordingServices() = default;
  // The stand-ins point back at this object.
  RecordingServices(const RecordingServices&) = delete;
  RecordingServices& operator=(const RecordingServices&) = delete;

  Services services() { return {&audio, &polygons, &textures}; }

  // Every call to the three services, oldest first.
  std::vector<Call> calls;

 private:
  void record(std::string_view what, std::string_view chart, std::int32_t index) {
    calls.push_back({std::string(what), std::string(chart), index});
  }

  struct Audio final : AudioService {
    explicit Audio(RecordingServices& log) : log(log) {}
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
  struct Polygons final : PolygonService {
    explicit Polygons(RecordingServices& log) : log(log) {}
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
    RecordingServices& log;
  };
  struct Textures final : TextureService {
    explicit Textures(RecordingServices& log) : log(log) {}
    void setActiveChart(std::string_view name) override {
      log.record("textures.setActiveChart", name, 0);
    }
    void deleteTexture(std::int32_t index) override {
      log.record("textures.deleteTexture", {}, index);
    }
    RecordingServices& log;
  };

  Audio audio{*this};
  Polygons polygons{*this};
  Textures textures{*this};
};

}  // namespace chart
