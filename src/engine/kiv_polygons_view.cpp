// The projection and picking half of the polygon service.
#include <GL/gl.h>

#include "engine/kiv_polygons.h"
#include "engine/picking.h"
#include "engine/viewport_placement.h"

void KivPolygons::setViewportRatio(double width, double height) {
  const engine::ViewportPlacement placement = engine::placeViewport(
      theViewFrame.x, theViewFrame.y, theViewFrame.width, theViewFrame.height, width, height);
  glViewport(placement.x, placement.y, placement.width, placement.height);

  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  // An empty viewport (a minimised window) has no frustum; the identity stays until the next
  // reshape.
  if (placement.right > placement.left && placement.top > placement.bottom) {
    glFrustum(placement.left, placement.right, placement.bottom, placement.top, 1.0, 10000.0);
  }
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

std::int32_t KivPolygons::addPicking(std::int32_t pickedPolygon) {
  engine::PickingEntry entry;
  entry.polygonIndex = pickedPolygon;
  if (const engine::PolygonRecord* record = polygon(pickedPolygon)) {
    entry.vertices = record->vertices;
    entry.verticesNumber = record->verticesNumber;
    entry.type = record->type;
  }
  // An entry for a polygon that does not exist has no vertices and is never hit.
  const std::int32_t index = ++pickingIndex;
  thePickingDictionary.insert_or_assign(index, std::move(entry));
  return index;
}

std::int32_t KivPolygons::updatePicking(std::int32_t index) {
  const auto found = thePickingDictionary.find(index);
  if (found == thePickingDictionary.end() || !found->second.vertices) return -1;
  const engine::PickingEntry& entry = found->second;

  // The matrices in force now: the charts test a polygon after placing it, before drawing it.
  engine::PickingView view;
  glGetIntegerv(GL_VIEWPORT, view.viewport.data());
  glGetFloatv(GL_MODELVIEW_MATRIX, view.modelView.data());
  glGetFloatv(GL_PROJECTION_MATRIX, view.projection.data());

  const std::span<const float> vertices =
      std::span<const float>(*entry.vertices).first(std::size_t(entry.verticesNumber));
  recordOutline(index, vertices, view);
  return engine::hitsPolygon(entry.type, vertices, view, pickX, pickY) ? entry.polygonIndex : -1;
}

void KivPolygons::recordOutline(std::int32_t index, std::span<const float> vertices,
                                const engine::PickingView& view) {
  for (const engine::PickingOutline& recorded : frameOutlines) {
    if (recorded.pickingIndex == index) return;
  }
  if (auto outline = engine::outlineOf(vertices, view)) {
    outline->pickingIndex = index;
    frameOutlines.push_back(*outline);
  }
}

void KivPolygons::startPickingFrame() {
  std::swap(frameOutlines, lastFrameOutlines);
  frameOutlines.clear();
}

void KivPolygons::removePicking(std::int32_t index) { thePickingDictionary.erase(index); }
