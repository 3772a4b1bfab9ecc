#include "engine/kiv_polygons.h"

#include <GL/gl.h>

#include "engine/engine_message.h"
#include "engine/float_buffers.h"
#include "engine/kiv_alert.h"
#include "engine/polygon_types.h"

KivPolygons& KivPolygons::share() {
  static KivPolygons instance;
  return instance;
}

KivPolygons::KivPolygons() {
  // Light 0 with its default parameters lights every polygon that carries normals.
  glEnable(GL_LIGHT0);
}

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
  const engine::PolygonRecord* record = polygon(index);
  if (record == nullptr) return;

  const std::int32_t vertexCount = record->verticesNumber / 3;
  const bool hasColors = record->colorsNumber > 0;
  const bool hasNormals = record->normalsNumber > 0;
  const bool hasTextures = record->texturesNumber > 0;

  if (record->verticesNumber > 0) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, record->vertices->data());
  }
  if (hasColors && record->colorsNumber / 4 == vertexCount) {
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, 0, record->colors.data());
  }
  if (hasNormals && record->normalsNumber / 3 == vertexCount) {
    glEnable(GL_LIGHTING);
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, 0, record->normals.data());
  }
  if (hasTextures && record->texturesNumber / 2 == vertexCount) {
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, 0, record->textures.data());
  }

  glDrawArrays(record->type, 0, vertexCount);

  glDisableClientState(GL_VERTEX_ARRAY);
  if (hasColors) glDisableClientState(GL_COLOR_ARRAY);
  if (hasNormals) {
    glDisable(GL_LIGHTING);
    glDisableClientState(GL_NORMAL_ARRAY);
  }
  if (hasTextures) {
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  }
}

void KivPolygons::startMatrixStack() {
  if (matrixStack) return;
  glPushMatrix();
  matrixStack = true;
}

void KivPolygons::endMatrixStack() {
  if (!matrixStack) return;
  glPopMatrix();
  matrixStack = false;
}

void KivPolygons::setDepthTest(bool enabled) {
  if (enabled) {
    glEnable(GL_DEPTH_TEST);
  } else {
    glDisable(GL_DEPTH_TEST);
  }
}

void KivPolygons::translate(float x, float y, float z) { glTranslatef(x, y, z); }

void KivPolygons::rotate(float degrees, float x, float y, float z) { glRotatef(degrees, x, y, z); }

void KivPolygons::useAlphaBlendFunction() { glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA); }

void KivPolygons::setBlending(bool enabled) {
  if (enabled) {
    glEnable(GL_BLEND);
  } else {
    glDisable(GL_BLEND);
  }
}
