// A real view in a headless window (SDL's offscreen driver on Mesa), run frame by frame with a
// fixed step that a test may change between frames. It runs the game's own chart tree unless a
// test gives it another root.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "app/input_script.h"
#include "app/opengl_view.h"
#include "app/resource_folder.h"
#include "app/run_loop.h"
#include "chart/data.h"
#include "engine/kiv_alert.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/window.h"

// The fixed-step clock, with a step that can change between frames.
class SteppedClock final : public platform::Clock {
 public:
  explicit SteppedClock(double tickLength) : step(tickLength) {}
  void setStep(double seconds) {
    origin = now();
    ticks = 0;
    step = seconds;
  }
  double now() const override { return origin + double(ticks) * step; }
  void waitForNextTick() override { ++ticks; }
  void restartTicks() override {}

 private:
  double step;
  double origin = 0;
  long long ticks = 0;
};

class HeadlessView : public ::testing::Test {
 protected:
  static constexpr double kStep = 0.01;

  void SetUp() override {
    engine::KivAlert::share().throwInsteadOfExiting(true);
    chart::Data::share().setResourcePath(
        findResourceFolder(resourceFolderCandidates(platform::executableDirectory())));
    std::string error;
    window = platform::Window::open({"aloft test", {480, 320}, true}, error);
    ASSERT_TRUE(window) << error;
    view = std::make_unique<OpenGLView>(*window, clock, engine::KivPolygons::share(), makeRoot());
    view->showInFront();
  }

  void TearDown() override {
    view.reset();
    window.reset();
  }

  virtual std::unique_ptr<RootChart> makeRoot() { return makeStartChart(); }

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
    if (!script) return {};
    return std::move(*script);
  }

  SteppedClock clock{kStep};
  std::unique_ptr<platform::Window> window;
  std::unique_ptr<OpenGLView> view;
};
