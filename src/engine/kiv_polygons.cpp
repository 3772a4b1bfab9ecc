#include "engine/kiv_polygons.h"

#include <GL/gl.h>

KivPolygons& KivPolygons::share() {
  static KivPolygons instance;
  return instance;
}

void KivPolygons::setViewportRatio(float width, float height) {
  glViewport(0, 0, GLsizei(width), GLsizei(height));
}
