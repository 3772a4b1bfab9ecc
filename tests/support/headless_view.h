// A real view in a headless window (SDL's offscreen driver on Mesa), run frame by frame with
// the fixed-step clock.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "app/input_script.h"
#include "app/opengl_view.h"
#include "app/run_loop.h"
#include "engine/kiv_alert.h"
#include "platform/clock.h"
#include "platform/window.h"

class HeadlessView : public ::testing::Test {
 protected:
  static constexpr double kStep = 0.01;

  void SetUp() override {
    KivAlert::share().throwInsteadOfExiting(true);
    std::string error;
    window = platform::Window::open({"aloft test", {480, 320}, true}, error);
    ASSERT_TRUE(window) << error;
    view = std::make_unique<OpenGLView>(*window, clock);
    view->awakeFromNib();
  }

  void TearDown() override {
    view.reset();
    window.reset();
  }

  // Runs the next frame through the game's own loop, delivering `script`'s events for it.
  void step(InputScript* script = nullptr) {
    RunSettings settings;
    settings.frameLimit = view->framesDrawn() + 1;
    settings.script = script;
    runFrames(*view, *window, clock, settings);
  }

  static InputScript scriptOf(const std::string& text) {
    std::istringstream in(text);
    std::string error;
    auto script = InputScript::parse(in, "test", error);
    EXPECT_TRUE(script) << error;
    return script ? *script : InputScript{};
  }

  platform::FixedStepClock clock{kStep};
  std::unique_ptr<platform::Window> window;
  std::unique_ptr<OpenGLView> view;
};
