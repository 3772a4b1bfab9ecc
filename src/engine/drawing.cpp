#include "engine/drawing.h"

#include "engine/gl/gl_drawing.h"
#include "engine/null_drawing.h"

namespace engine {

namespace {

struct Chosen {
  std::unique_ptr<Drawing> backEnd;
  bool null = false;
  std::uint32_t lastTextureName = 0;
};

Chosen& chosen() {
  static Chosen instance;
  return instance;
}

}  // namespace

Drawing& drawing() {
  Chosen& made = chosen();
  if (!made.backEnd) {
    made.backEnd = makeGLDrawing();
    // Before a window has loaded GL nothing can be drawn; the GL back end is made once it can.
    static NullDrawing beforeGL;
    if (!made.backEnd) return beforeGL;
  }
  return *made.backEnd;
}

void useNullDrawing() {
  Chosen& made = chosen();
  made.null = true;
  made.backEnd = std::make_unique<NullDrawing>();
}

bool drawsNothing() { return chosen().null; }

std::uint32_t newTextureName() { return ++chosen().lastTextureName; }

}  // namespace engine
