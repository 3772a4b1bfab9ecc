// 4 × 4 matrices of 32-bit floats, column-major as GL keeps them, with the fixed-function
// pipeline's transforms. Every product and transform is computed in single precision with the
// terms in one fixed order (the order of the reference software pipeline), and the file is
// compiled without contracting multiply-adds, so the same calls give the same bits on every
// machine: picking depends on nothing but these numbers.
#pragma once

#include <array>

namespace engine {

using Matrix = std::array<float, 16>;

inline constexpr Matrix kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// a × b. When both keep the bottom row (0, 0, 0, 1), that row is not computed but set.
Matrix multiply(const Matrix& a, const Matrix& b);
// m × the translation by (x, y, z).
void translate(Matrix& m, float x, float y, float z);
// m × the rotation by `degrees` about the axis (x, y, z); an axis shorter than 1e-4 leaves m.
void rotate(Matrix& m, float degrees, float x, float y, float z);
// m × the perspective frustum (glFrustum's matrix).
void frustum(Matrix& m, float left, float right, float bottom, float top, float nearZ,
             float farZ);
// m × the orthographic projection (glOrtho's matrix).
void ortho(Matrix& m, float left, float right, float bottom, float top, float nearZ, float farZ);

}  // namespace engine
