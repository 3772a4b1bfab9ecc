// The projection and picking half of the polygon service.
#include "engine/kiv_polygons.h"
#include "engine/picking.h"
#include "engine/viewport_placement.h"

namespace engine {

void KivPolygons::setViewportRatio(double width, double height) {
  const engine::ViewportPlacement placement = engine::placeViewport(
      theViewFrame.x, theViewFrame.y, theViewFrame.width, theViewFrame.height, width, height);
  theViewportRatio = {width, height};
  drawState.viewport = {placement.x, placement.y, placement.width, placement.height};

  engine::Matrix& projection = drawState.projection.top();
  projection = engine::kIdentity;
  // An empty viewport (a minimised window) has no frustum; the identity stays until the next
  // reshape.
  if (placement.right > placement.left && placement.top > placement.bottom) {
    engine::frustum(projection, placement.left, placement.right, placement.bottom, placement.top,
                    1.0f, 10000.0f);
  }
  drawState.modelView.top() = engine::kIdentity;
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
  const engine::Viewport& viewport = drawState.viewport;
  engine::PickingView view;
  view.viewport = {viewport.x, viewport.y, viewport.width, viewport.height};
  view.modelView = drawState.modelView.top();
  view.projection = drawState.projection.top();

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

}  // namespace engine
