// The polygon engine's view-facing entries: the view frame, the viewport ratio and the picking
// point. For now it only keeps the viewport on the whole drawable; the polygon store, the
// letterboxed frustum and picking build on these entries.
#pragma once

class KivPolygons {
 public:
  struct Rect {
    double x = 0, y = 0, width = 0, height = 0;
  };

  static KivPolygons& share();

  void setViewFrame(const Rect& frame) { theViewFrame = frame; }
  const Rect& viewFrame() const { return theViewFrame; }
  void setViewportRatio(float width, float height);
  void pickingPoint(double x, double y) { pickX = x; pickY = y; }
  double pickingX() const { return pickX; }
  double pickingY() const { return pickY; }

 private:
  KivPolygons() = default;

  Rect theViewFrame;
  double pickX = 0;
  double pickY = 0;
};
