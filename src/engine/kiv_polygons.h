// The geometry service: every polygon the charts create, drawn on request by the drawing back
// end, replaced in whole or in part; the one-level matrix stack that keeps one polygon's
// placement from the next; the viewport that keeps the chart's picture ratio inside the view
// under a perspective frustum; and the mouse hit test against registered polygons.
//
// Polygons and picking entries are keyed by indexes handed out from 0 and never reused. Every
// error is fatal and goes through `KivAlert` naming the chart that last called `setActiveChart`.
// The matrices, the viewport and the switches are the engine's own (`drawState`); the drawing
// back end (engine/drawing.h) only reads them, and picking never asks it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/draw_state.h"
#include "engine/picking.h"
#include "engine/polygon_record.h"
#include "engine/services.h"

namespace engine {

class KivPolygons final : public engine::PolygonService {
 public:
  struct Rect {
    double x = 0, y = 0, width = 0, height = 0;
  };

  // The process-wide service, created (and light 0 switched on) on first use.
  static KivPolygons& share();

  // A separate, empty service; the game uses `share` only, tests use their own for fresh
  // indexes.
  KivPolygons();
  KivPolygons(const KivPolygons&) = delete;
  KivPolygons& operator=(const KivPolygons&) = delete;

  void setActiveChart(std::string_view chartName) override { theActiveChart.assign(chartName); }

  // --- Polygon store ---

  // Adds a polygon of the named type ("Points", "Lines", "LineLoop", "LineStrip", "Triangles",
  // "TriangleStrip", "TriangleFan"). Non-empty colour, normal and texture lists must give one
  // entry per vertex. Returns the new index.
  std::int32_t addPolygonsType(std::string_view typeName, std::span<const float> vertices,
                               std::span<const float> colors, std::span<const float> normals,
                               std::span<const float> textures) override;
  // Makes the next `replaceArray` write only floats [start, start + length) of its first
  // non-empty list's buffer.
  void replaceRange(std::int32_t start, std::int32_t length) override;
  // Replaces each non-empty list's data of polygon `index`: the pending range of the first one,
  // the whole buffer (same size) otherwise.
  void replaceArray(std::int32_t index, std::span<const float> vertices,
                    std::span<const float> colors, std::span<const float> normals,
                    std::span<const float> textures) override;
  // Draws polygon `index` with the current state and matrices; an unknown index draws nothing.
  // Lighting and texturing are on for the draw when it has normals or texture coordinates.
  void updatePolygon(std::int32_t index) override;
  // Unknown indexes are ignored.
  void removePolygons(std::int32_t index) override;
  // No chart of the game adds lighting, so there is never an entry to remove.
  void removeLighting(std::int32_t) override {}
  const engine::PolygonRecord* polygon(std::int32_t index) const;
  // How many polygons and picking entries the store holds.
  std::size_t polygonCount() const { return thePolygonDictionary.size(); }
  std::size_t pickingCount() const { return thePickingDictionary.size(); }

  // Pushes the model-view matrix unless already pushed; `endMatrixStack` pops it only when
  // pushed. So one polygon's moves pile up on the frame's matrix and its draw restores it.
  void startMatrixStack() override;
  void endMatrixStack() override;
  bool matrixStackPushed() const { return matrixStack; }
  // A new frame: the picture cleared, the model-view matrix the identity.
  void startFrame();
  const engine::DrawState& state() const { return drawState; }
  engine::DrawState& state() { return drawState; }

  // --- Projection ---

  void setViewFrame(const Rect& frame) { theViewFrame = frame; }
  // The picture ratio last set (width, height); 0 : 0 before the first.
  std::pair<double, double> viewportRatio() const { return theViewportRatio; }
  // Places the viewport inside the view frame with the ratio width : height, equal bars on
  // two sides, and sets a perspective frustum to match (near 1, far 10000, corners on the unit
  // circle at the near plane). Leaves the model-view matrix current, loaded with the identity.
  void setViewportRatio(double width, double height) override;
  // Switches the depth test of what is drawn next.
  void setDepthTest(bool enabled) override;

  // --- Placement and blending of what is drawn next ---

  void translate(float x, float y, float z) override;
  void rotate(float degrees, float x, float y, float z) override;
  void useAlphaBlendFunction() override;
  void setBlending(bool enabled) override;

  // --- Picking ---

  // The mouse position for this frame, in window coordinates with y up, in drawable pixels.
  void pickingPoint(double x, double y) {
    pickX = x;
    pickY = y;
  }

  // Registers polygon `pickedPolygon` for picking, sharing its current vertex buffer.
  std::int32_t addPicking(std::int32_t pickedPolygon) override;
  // The registered polygon's index when the picking point lies on one of its counter-clockwise
  // triangles as the current matrices and viewport place them, else −1.
  std::int32_t updatePicking(std::int32_t pickingIndex) override;
  // Unknown indexes are ignored.
  void removePicking(std::int32_t pickingIndex) override;

  // Every picking test records where its polygon lay, once per entry and frame, in the order of
  // the tests: what a keyboard or controller can choose from without a mouse. The view starts
  // each frame with `startPickingFrame`, which keeps the finished frame's outlines.
  void startPickingFrame();
  std::span<const engine::PickingOutline> lastFramePickingOutlines() const {
    return lastFrameOutlines;
  }

 private:
  enum class BufferKind { Vertices, Colors, Normals, Textures };

  std::string messageOpening() const;
  // Reports (which ends the run) when a list of `listLength` floats cannot replace the data of
  // `kind` of polygon `index`, whose stored count is `storedCount`.
  void checkReplacement(std::int32_t index, BufferKind kind, std::size_t listLength,
                        std::int32_t storedCount) const;
  void recordOutline(std::int32_t index, std::span<const float> vertices,
                     const engine::PickingView& view);
  void replaceBuffer(engine::PolygonRecord& record, BufferKind kind, std::span<const float> list);

  std::unordered_map<std::int32_t, engine::PolygonRecord> thePolygonDictionary;
  std::unordered_map<std::int32_t, engine::PickingEntry> thePickingDictionary;
  // Both keep their storage from frame to frame: recording allocates only while the number of
  // panels on screen grows past any seen before.
  std::vector<engine::PickingOutline> frameOutlines;
  std::vector<engine::PickingOutline> lastFrameOutlines;
  std::string theActiveChart;
  std::int32_t polygonIndex = -1;
  std::int32_t pickingIndex = -1;
  std::int64_t rangeStart = 0;   // in floats
  std::int64_t rangeLength = 0;  // in floats
  bool replacingRange = false;
  bool matrixStack = false;

  engine::DrawState drawState;
  Rect theViewFrame;
  std::pair<double, double> theViewportRatio{0, 0};
  double pickX = 0;
  double pickY = 0;
};

}  // namespace engine
