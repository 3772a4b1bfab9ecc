// A headless window with a current GL context (SDL's offscreen driver on Mesa) for the engine
// services, and ways to read back what they did.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/drawing.h"
#include "engine/kiv_alert.h"
#include "engine/kiv_polygons.h"
#include "platform/window.h"
#include "support/fatal_alert.h"
#include "support/run_program.h"

using Floats = std::vector<float>;

// The colour of the back-buffer pixel (x, y), counted from the bottom left.
inline std::array<int, 4> pixelAt(int x, int y) {
  std::array<std::uint8_t, 4> rgba{};
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  return {rgba[0], rgba[1], rgba[2], rgba[3]};
}

// One integer of GL state, such as GL_MODELVIEW_STACK_DEPTH.
inline GLint glInteger(GLenum name) {
  GLint value = 0;
  glGetIntegerv(name, &value);
  return value;
}

// A parameter of the 2-D texture named `texture` (binding it).
inline GLint textureParameter(std::int32_t texture, GLenum parameter) {
  GLint value = 0;
  glBindTexture(GL_TEXTURE_2D, GLuint(texture));
  glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
  return value;
}

// Opens a headless window of `width` × `height` with its GL context current, cleared to black.
inline std::unique_ptr<platform::Window> openTestWindow(int width, int height) {
  std::string error;
  auto window = platform::Window::open({"engine test", {width, height}, true}, error);
  EXPECT_TRUE(window) << error;
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  return window;
}

// A polygon service in a fresh 300 × 200 window; fatal alerts throw.
class GLTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 300;
  static constexpr int kHeight = 200;

  void SetUp() override {
    engine::KivAlert::share().throwInsteadOfExiting(true);
    window = openTestWindow(kWidth, kHeight);
    ASSERT_TRUE(window);
    polygons = std::make_unique<engine::KivPolygons>();
    // A new context as GL starts one: the whole window, identity matrices, no depth test.
    engine::drawing().stateChanged();
    polygons->state().viewport = {0, 0, kWidth, kHeight};
    polygons->state().depthTest = false;
  }

  // Declared first so that it outlives the window: files go after the context.
  ScratchDirectory scratch{"engine"};
  std::unique_ptr<platform::Window> window;
  std::unique_ptr<engine::KivPolygons> polygons;
};
