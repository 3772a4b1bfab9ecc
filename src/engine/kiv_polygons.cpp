#include "engine/kiv_polygons.h"

#include "engine/drawing.h"
#include "engine/engine_message.h"
#include "engine/float_buffers.h"
#include "engine/kiv_alert.h"
#include "engine/polygon_types.h"

namespace engine {

KivPolygons& KivPolygons::share() {
  static KivPolygons instance;
  return instance;
}

KivPolygons::KivPolygons() { engine::drawing().useDefaultLight(); }

std::string KivPolygons::messageOpening() const {
  return engine::chartMessageOpening(theActiveChart);
}

std::int32_t KivPolygons::addPolygonsType(std::string_view typeName,
                                          std::span<const float> vertices,
                                          std::span<const float> colors,
                                          std::span<const float> normals,
                                          std::span<const float> textures) {
  const auto vertexCount = std::int32_t(vertices.size() / 3);
  auto mismatch = [&](std::size_t listLength, std::size_t perVertex, const char* what) {
    if (listLength == 0 || std::int32_t(listLength / perVertex) == vertexCount) return;
    KivAlert::share().setQuitAlert(messageOpening() + " has " + std::to_string(vertexCount) +
                                   " vertices and " + std::to_string(listLength / perVertex) + " " +
                                   what + ". Please use the same amount.");
  };
  mismatch(colors.size(), 4, "colors");
  mismatch(normals.size(), 3, "normals");
  mismatch(textures.size(), 2, "image coordinates");

  const std::int32_t index = ++polygonIndex;
  engine::PolygonRecord record;
  record.vertices = std::make_shared<engine::FloatBuffer>(engine::toFloatBuffer(vertices, false));
  record.colors = engine::toFloatBuffer(colors, false);
  record.normals = engine::toFloatBuffer(normals, false);
  record.textures = engine::toFloatBuffer(textures, true);
  record.verticesNumber = std::int32_t(vertices.size());
  record.colorsNumber = std::int32_t(colors.size());
  record.normalsNumber = std::int32_t(normals.size());
  record.texturesNumber = std::int32_t(textures.size());
  const std::optional<std::uint32_t> mode = engine::primitiveModeNamed(typeName);
  if (!mode) {
    KivAlert::share().setQuitAlert(messageOpening() + " with polygon index " +
                                   std::to_string(index) + " has an invaild polygon type " +
                                   std::string(typeName) + ".");
  }
  record.type = *mode;
  thePolygonDictionary.insert_or_assign(index, std::move(record));
  return index;
}

void KivPolygons::removePolygons(std::int32_t index) { thePolygonDictionary.erase(index); }

const engine::PolygonRecord* KivPolygons::polygon(std::int32_t index) const {
  const auto found = thePolygonDictionary.find(index);
  return found == thePolygonDictionary.end() ? nullptr : &found->second;
}

void KivPolygons::updatePolygon(std::int32_t index) {
  if (const engine::PolygonRecord* record = polygon(index)) {
    engine::drawing().drawPolygon(drawState, *record);
  }
}

void KivPolygons::startMatrixStack() {
  if (matrixStack) return;
  drawState.modelView.push();
  matrixStack = true;
}

void KivPolygons::endMatrixStack() {
  if (!matrixStack) return;
  drawState.modelView.pop();
  matrixStack = false;
}

void KivPolygons::startFrame() {
  engine::drawing().clear();
  drawState.modelView.top() = engine::kIdentity;
}

void KivPolygons::setDepthTest(bool enabled) { drawState.depthTest = enabled; }

void KivPolygons::translate(float x, float y, float z) {
  engine::translate(drawState.modelView.top(), x, y, z);
}

void KivPolygons::rotate(float degrees, float x, float y, float z) {
  engine::rotate(drawState.modelView.top(), degrees, x, y, z);
}

void KivPolygons::useAlphaBlendFunction() { drawState.alphaBlendFunction = true; }

void KivPolygons::setBlending(bool enabled) { drawState.blending = enabled; }

}  // namespace engine
