// A headless window with a current GL context (SDL's offscreen driver on Mesa) for the engine
// services, and ways to read back what they did.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/kiv_alert.h"
#include "platform/window.h"

// The colour of the back-buffer pixel (x, y), counted from the bottom left.
inline std::array<int, 4> pixelAt(int x, int y) {
  std::array<std::uint8_t, 4> rgba{};
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  return {rgba[0], rgba[1], rgba[2], rgba[3]};
}

// A parameter of the 2-D texture named `texture` (binding it).
inline GLint textureParameter(std::int32_t texture, GLenum parameter) {
  GLint value = 0;
  glBindTexture(GL_TEXTURE_2D, GLuint(texture));
  glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
  return value;
}

// A directory for one test's files, made on first use and removed with the object.
class ScratchDirectory {
 public:
  ScratchDirectory() = default;
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  ~ScratchDirectory() {
    if (!path_.empty()) std::filesystem::remove_all(path_);
  }

  const std::filesystem::path& path() {
    if (path_.empty()) {
      const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
      path_ = std::filesystem::temp_directory_path() /
              ("aloft-" + std::string(test->name()) + "-" + std::to_string(::getpid()));
      std::filesystem::create_directories(path_);
    }
    return path_;
  }

 private:
  std::filesystem::path path_;
};

// Opens a headless window of `width` × `height` with its GL context current, cleared to black.
inline std::unique_ptr<platform::Window> openTestWindow(int width, int height) {
  std::string error;
  auto window = platform::Window::open({"engine test", {width, height}, true}, error);
  EXPECT_TRUE(window) << error;
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  return window;
}

class GLTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 300;
  static constexpr int kHeight = 200;

  void SetUp() override {
    KivAlert::share().throwInsteadOfExiting(true);
    window = openTestWindow(kWidth, kHeight);
    ASSERT_TRUE(window);
  }

  std::filesystem::path scratchDirectory() { return scratch.path(); }

  // Declared first so that it outlives the window: files go after the context.
  ScratchDirectory scratch;
  std::unique_ptr<platform::Window> window;
};

// The message of the fatal alert `action` raises, or "(no alert)".
template <typename Action>
std::string alertOf(Action&& action) {
  try {
    action();
  } catch (const FatalAlert& alert) {
    return alert.what();
  }
  return "(no alert)";
}
