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

class GLTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 300;
  static constexpr int kHeight = 200;

  void SetUp() override {
    KivAlert::share().throwInsteadOfExiting(true);
    std::string error;
    window = platform::Window::open({"engine test", {kWidth, kHeight}, true}, error);
    ASSERT_TRUE(window) << error;
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }

  void TearDown() override {
    window.reset();
    if (!scratch.empty()) std::filesystem::remove_all(scratch);
  }

  // The colour of the back-buffer pixel (x, y), counted from the bottom left.
  static std::array<int, 4> pixelAt(int x, int y) {
    std::array<std::uint8_t, 4> rgba{};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return {rgba[0], rgba[1], rgba[2], rgba[3]};
  }

  // A fresh directory for this test's files, removed afterwards.
  std::filesystem::path scratchDirectory() {
    if (scratch.empty()) {
      const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
      scratch = std::filesystem::temp_directory_path() /
                ("aloft-" + std::string(test->name()) + "-" + std::to_string(::getpid()));
      std::filesystem::create_directories(scratch);
    }
    return scratch;
  }

  std::unique_ptr<platform::Window> window;

 private:
  std::filesystem::path scratch;
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
