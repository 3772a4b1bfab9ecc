// The GL back end: draws the engine's polygons with GL's fixed-function vertex arrays. The only
// code of the game that calls GL.
#pragma once

#include <memory>

#include "engine/drawing.h"

namespace engine {

// Needs the window's GL context to be current whenever it is used. Null while no GL library is
// loaded (before the first window opens).
std::unique_ptr<Drawing> makeGLDrawing();

}  // namespace engine
