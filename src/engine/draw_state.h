// What the engine holds of the drawing state: the model-view and projection matrices with their
// stacks, the viewport, and the switches the charts set. The engine computes all of it itself;
// a drawing back end only reads it, so picking and everything the charts can see is the same
// whether anything is drawn or not.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/matrix.h"

namespace engine {

// A bounded stack whose top is the current matrix, starting with the identity.
class MatrixStack {
 public:
  // GL's smallest allowed depth: a push beyond it, or a pop of the last matrix, is ignored.
  static constexpr std::size_t kDepth = 32;

  Matrix& top() { return levels[depth]; }
  const Matrix& top() const { return levels[depth]; }
  void push() {
    if (depth + 1 < kDepth) {
      levels[depth + 1] = levels[depth];
      ++depth;
    }
  }
  void pop() {
    if (depth > 0) --depth;
  }
  // How many matrices are pushed below the top.
  std::size_t pushed() const { return depth; }

 private:
  std::array<Matrix, kDepth> levels{kIdentity};
  std::size_t depth = 0;
};

struct Viewport {
  std::int32_t x = 0, y = 0, width = 0, height = 0;
  bool operator==(const Viewport&) const = default;
};

struct DrawState {
  MatrixStack modelView;
  MatrixStack projection;
  Viewport viewport;
  bool depthTest = true;
  bool blending = false;
  // The source-alpha blend function has been chosen (GL's default adds without weights).
  bool alphaBlendFunction = false;
};

}  // namespace engine
