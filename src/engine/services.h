// What the chart runtime needs from the engine services: the calls that attribute work to the
// running chart, those that give back a chart's resources when it is torn down, and the calls of
// the graphics and sound commands. `KivPolygons`, `KivTextures` and `KivAudio` are the real
// services; the tests' `RecordingServices` stands in for all three where a test wants the
// calls recorded.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace engine {

class PolygonService {
 public:
  virtual void setActiveChart(std::string_view chartName) = 0;
  virtual void removePolygons(std::int32_t index) = 0;
  virtual void removePicking(std::int32_t index) = 0;
  virtual void removeLighting(std::int32_t index) = 0;

  // What the graphics commands ask of it.
  virtual std::int32_t addPolygonsType(std::string_view typeName, std::span<const float> vertices,
                                       std::span<const float> colors,
                                       std::span<const float> normals,
                                       std::span<const float> textures) = 0;
  virtual void replaceRange(std::int32_t start, std::int32_t length) = 0;
  virtual void replaceArray(std::int32_t index, std::span<const float> vertices,
                            std::span<const float> colors, std::span<const float> normals,
                            std::span<const float> textures) = 0;
  virtual void updatePolygon(std::int32_t index) = 0;
  virtual void startMatrixStack() = 0;
  virtual void endMatrixStack() = 0;
  virtual void setViewportRatio(double width, double height) = 0;
  virtual void setDepthTest(bool enabled) = 0;
  // The placement commands: move or turn (degrees about an axis) what is drawn next.
  virtual void translate(float x, float y, float z) = 0;
  virtual void rotate(float degrees, float x, float y, float z) = 0;
  // Blending of what is drawn next: the source-alpha function, and blending on or off.
  virtual void useAlphaBlendFunction() = 0;
  virtual void setBlending(bool enabled) = 0;
  virtual std::int32_t addPicking(std::int32_t polygonIndex) = 0;
  virtual std::int32_t updatePicking(std::int32_t pickingIndex) = 0;

 protected:
  ~PolygonService() = default;
};

class TextureService {
 public:
  virtual void setActiveChart(std::string_view chartName) = 0;
  virtual void deleteTexture(std::int32_t index) = 0;

  // What the graphics commands ask of it: GL wrap modes and filters as GL enumerants.
  virtual std::int32_t addTexture(const std::string& path, unsigned wrapS, unsigned wrapT,
                                  unsigned magFilter, unsigned minFilter) = 0;
  virtual void bindTexture(std::int32_t index) = 0;

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

}  // namespace engine
