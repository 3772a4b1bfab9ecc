#include "engine/viewport_placement.h"

#include <cmath>

#include "engine/truncate.h"

namespace engine {

ViewportPlacement placeViewport(double frameX, double frameY, double frameWidth, double frameHeight,
                                double ratioWidth, double ratioHeight) {
  double x = frameX;
  double y = frameY;
  double width = frameWidth;
  double height = frameHeight;
  // The scale is rounded to single precision before it is applied: 800 × 600 at 3 : 2 gives a
  // picture 533 pixels high from 33 up, not 534.
  if (ratioWidth / ratioHeight > frameWidth / frameHeight) {
    const double scale = float(frameWidth / ratioWidth);
    x = 0;
    height = scale * ratioHeight;
    y = (frameHeight - height) / 2;
  } else if (frameWidth / frameHeight > ratioWidth / ratioHeight) {
    const double scale = float(frameHeight / ratioHeight);
    y = 0;
    width = scale * ratioWidth;
    x = (frameWidth - width) / 2;
  }

  ViewportPlacement placement;
  placement.x = truncateToInt32(x);
  placement.y = truncateToInt32(y);
  placement.width = truncateToInt32(width);
  placement.height = truncateToInt32(height);

  const float a = float(width);
  const float b = float(height);
  const float diagonal = std::sqrt(a * a + b * b);
  if (diagonal > 0) {
    placement.left = -a / diagonal;
    placement.right = a / diagonal;
    placement.bottom = -b / diagonal;
    placement.top = b / diagonal;
  }
  return placement;
}

}  // namespace engine
