// What the chart runtime needs from the engine services: the calls that attribute work to the
// running chart, those that give back a chart's resources when it is torn down, and the sound
// commands' calls. `KivAudio` is the audio service; the real polygon and texture services
// implement theirs, and `RecordingServices` stands in for all three where a test wants the calls
// recorded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace chart {

class PolygonService {
 public:
  virtual void setActiveChart(std::string_view chartName) = 0;
  virtual void removePolygons(std::int32_t index) = 0;
  virtual void removePicking(std::int32_t index) = 0;
  virtual void removeLighting(std::int32_t index) = 0;

 protected:
  ~PolygonService() = default;
};

class TextureService {
 public:
  virtual void setActiveChart(std::string_view chartName) = 0;
  virtual void deleteTexture(std::int32_t index) = 0;

 protected:
  ~TextureService() = default;
};

class AudioService {
 public:
  virtual void setActiveChart(std::string_view chartName) = 0;
  virtual std::int32_t addSound(const std::string& path) = 0;
  virtual void playSound(std::int32_t index) = 0;
  virtual void setLoopSound(bool loop, std::int32_t index) = 0;
  virtual void setTimeSound(float seconds, std::int32_t index) = 0;
  virtual void removeSound(std::int32_t index) = 0;

 protected:
  ~AudioService() = default;
};

// The services a chart takes at creation; its children take the same ones.
struct Services {
  AudioService* audio;
  PolygonService* polygons;
  TextureService* textures;
};

}  // namespace chart
