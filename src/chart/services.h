// What the chart runtime needs from the engine services: the calls that attribute work to the
// running chart and those that give back a chart's resources when it is torn down. The real
// polygon, texture and audio services implement these; until they exist, `RecordingServices`
// stands in.
#pragma once

#include <cstdint>
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
