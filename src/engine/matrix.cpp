#include "engine/matrix.h"

#include <cmath>
#include <numbers>

namespace engine {

namespace {

// Element (row, col) of a column-major matrix.
constexpr int at(int row, int col) { return col * 4 + row; }

bool keepsBottomRow(const Matrix& m) {
  return m[3] == 0 && m[7] == 0 && m[11] == 0 && m[15] == 1;
}

}  // namespace

Matrix multiply(const Matrix& a, const Matrix& b) {
  Matrix p{};
  const bool affine = keepsBottomRow(a) && keepsBottomRow(b);
  for (int i = 0; i < (affine ? 3 : 4); ++i) {
    const float ai0 = a[at(i, 0)], ai1 = a[at(i, 1)], ai2 = a[at(i, 2)], ai3 = a[at(i, 3)];
    if (affine) {
      p[at(i, 0)] = ai0 * b[at(0, 0)] + ai1 * b[at(1, 0)] + ai2 * b[at(2, 0)];
      p[at(i, 1)] = ai0 * b[at(0, 1)] + ai1 * b[at(1, 1)] + ai2 * b[at(2, 1)];
      p[at(i, 2)] = ai0 * b[at(0, 2)] + ai1 * b[at(1, 2)] + ai2 * b[at(2, 2)];
      p[at(i, 3)] = ai0 * b[at(0, 3)] + ai1 * b[at(1, 3)] + ai2 * b[at(2, 3)] + ai3;
      continue;
    }
    for (int j = 0; j < 4; ++j) {
      p[at(i, j)] = ai0 * b[at(0, j)] + ai1 * b[at(1, j)] + ai2 * b[at(2, j)] + ai3 * b[at(3, j)];
    }
  }
  if (affine) {
    p[at(3, 0)] = 0;
    p[at(3, 1)] = 0;
    p[at(3, 2)] = 0;
    p[at(3, 3)] = 1;
  }
  return p;
}

void translate(Matrix& m, float x, float y, float z) {
  m[12] = m[0] * x + m[4] * y + m[8] * z + m[12];
  m[13] = m[1] * x + m[5] * y + m[9] * z + m[13];
  m[14] = m[2] * x + m[6] * y + m[10] * z + m[14];
  m[15] = m[3] * x + m[7] * y + m[11] * z + m[15];
}

void rotate(Matrix& m, float degrees, float x, float y, float z) {
  // The angle is converted in double precision, its sine and cosine taken in single.
  const auto radians = float(double(degrees) * std::numbers::pi / 180.0);
  const float s = std::sin(radians);
  const float c = std::cos(radians);
  Matrix r = kIdentity;
  // A turn about one axis fills only its four elements; a sign of the axis turns it back.
  if (x == 0 && y == 0 && z != 0) {
    r[at(0, 0)] = c;
    r[at(1, 1)] = c;
    r[at(0, 1)] = z < 0 ? s : -s;
    r[at(1, 0)] = z < 0 ? -s : s;
  } else if (x == 0 && z == 0 && y != 0) {
    r[at(0, 0)] = c;
    r[at(2, 2)] = c;
    r[at(0, 2)] = y < 0 ? -s : s;
    r[at(2, 0)] = y < 0 ? s : -s;
  } else if (y == 0 && z == 0 && x != 0) {
    r[at(1, 1)] = c;
    r[at(2, 2)] = c;
    r[at(1, 2)] = x < 0 ? s : -s;
    r[at(2, 1)] = x < 0 ? -s : s;
  } else {
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length <= 1.0e-4f) return;
    x /= length;
    y /= length;
    z /= length;
    const float oneMinusC = 1.0f - c;
    r[at(0, 0)] = (oneMinusC * (x * x)) + c;
    r[at(0, 1)] = (oneMinusC * (x * y)) - z * s;
    r[at(0, 2)] = (oneMinusC * (z * x)) + y * s;
    r[at(1, 0)] = (oneMinusC * (x * y)) + z * s;
    r[at(1, 1)] = (oneMinusC * (y * y)) + c;
    r[at(1, 2)] = (oneMinusC * (y * z)) - x * s;
    r[at(2, 0)] = (oneMinusC * (z * x)) - y * s;
    r[at(2, 1)] = (oneMinusC * (y * z)) + x * s;
    r[at(2, 2)] = (oneMinusC * (z * z)) + c;
  }
  m = multiply(m, r);
}

void frustum(Matrix& m, float left, float right, float bottom, float top, float nearZ,
             float farZ) {
  Matrix f{};
  f[at(0, 0)] = (2.0f * nearZ) / (right - left);
  f[at(1, 1)] = (2.0f * nearZ) / (top - bottom);
  f[at(0, 2)] = (right + left) / (right - left);
  f[at(1, 2)] = (top + bottom) / (top - bottom);
  f[at(2, 2)] = -(farZ + nearZ) / (farZ - nearZ);
  f[at(2, 3)] = -(2.0f * farZ * nearZ) / (farZ - nearZ);
  f[at(3, 2)] = -1.0f;
  m = multiply(m, f);
}

void ortho(Matrix& m, float left, float right, float bottom, float top, float nearZ, float farZ) {
  Matrix o = kIdentity;
  o[at(0, 0)] = 2.0f / (right - left);
  o[at(0, 3)] = -(right + left) / (right - left);
  o[at(1, 1)] = 2.0f / (top - bottom);
  o[at(1, 3)] = -(top + bottom) / (top - bottom);
  o[at(2, 2)] = -2.0f / (farZ - nearZ);
  o[at(2, 3)] = -(farZ + nearZ) / (farZ - nearZ);
  m = multiply(m, o);
}

}  // namespace engine
