// The charts of the stats and game screens run frame by frame on the real engine, in a headless
// window whose view takes the input, with the globals their owners would send and a preferences
// file of their own.
#pragma once

#include <unistd.h>

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "app/opengl_view.h"
#include "app/resource_folder.h"
#include "app/root_chart.h"
#include "chart/chart_test_support.h"
#include "chart/preferences.h"
#include "charts/game_charts.h"
#include "engine/kiv_polygons.h"
#include "engine/kiv_textures.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "platform/paths.h"
#include "platform/window.h"

namespace chart::testing {

class RunChartsTest : public ChartTest {
 protected:
  void SetUp() override {
    ChartTest::SetUp();
    char pattern[] = "/tmp/aloft-charts-XXXXXX";
    directory = mkdtemp(pattern);
    Preferences::open(directory / "preferences.json");
    Data::share().setTimeSegment(0.01f);
    std::string error;
    window = platform::Window::open({"aloft test", {480, 320}, true}, error);
    ASSERT_TRUE(window) << error;
    // The view only takes the input: the charts under test are run by the test.
    view = std::make_unique<OpenGLView>(
        *window, clock,
        std::make_unique<RootChart>(
            std::vector{testChart("Start", {}, {{"trunk0_1", passThrough(), endOfPass}})},
            recording.services()));
    view->awakeFromNib();
    Data::share().setResourcePath(
        findResourceFolder(resourceFolderCandidates(platform::executableDirectory())));
    services.polygons = &KivPolygons::share();
    services.textures = &KivTextures::share();
  }
  void TearDown() override {
    ChartTest::TearDown();
    view.reset();
    window.reset();
    std::filesystem::remove_all(directory);
  }

  // One frame of `chart` as the view and the root chart run it: the frame's input taken, the
  // pointer handed to picking, the 3 : 2 picture ratio set, the picture cleared.
  void frame(Chart& chart) {
    view->takeFrameEvents();
    KivPolygons& polygons = KivPolygons::share();
    polygons.pickingPoint(view->mouseLocation().x, view->mouseLocation().y);
    polygons.setViewportRatio(3, 2);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    chart.update(kDefaultSnippet);
  }
  static void press(std::string_view key, bool down = true) {
    platform::pushKey(*platform::keyNamed(key), down);
  }

  static void sendNumber(std::string_view name, float value) {
    GlobalVariableDictionary& dictionary = globals();
    dictionary.store(dictionary.keyFor(name), {true, true, kNumber, value});
  }
  static void sendText(std::string_view name, std::string_view value) {
    GlobalVariableDictionary& dictionary = globals();
    GlobalEntry entry{true, true, kText};
    entry.text = Text::create(*toUtf16(value));
    dictionary.store(dictionary.keyFor(name), entry);
  }
  static const GlobalEntry* global(std::string_view name) { return globals().find(name); }

  static void store(std::string_view key, const nlohmann::json& value) {
    Preferences::share().save(key, value);
  }
  static const nlohmann::json* stored(std::string_view key) {
    return Preferences::share().find(key);
  }

  // The charts held in an object-list cell, in order.
  static std::vector<Chart*> children(Chart& chart, std::string_view listCell) {
    std::vector<Chart*> found;
    const Cell& list = cell(chart, listCell);
    if (list.type != kObjectList) return found;
    for (std::size_t at = 0; at < list.object->size(); ++at) {
      found.push_back(std::get<Chart*>((*list.object)[at]));
    }
    return found;
  }

  // Pixels of the frame not of the clear colour.
  static int drawnPixels() {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    std::array<float, 4> clear{};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear.data());
    std::vector<std::array<std::uint8_t, 4>> pixels(std::size_t(viewport[2] * viewport[3]));
    glReadPixels(viewport[0], viewport[1], viewport[2], viewport[3], GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels.data());
    int drawn = 0;
    for (const auto& pixel : pixels) {
      for (int channel = 0; channel < 3; ++channel) {
        if (pixel[channel] != std::uint8_t(clear[channel] * 255.0f + 0.5f)) {
          ++drawn;
          break;
        }
      }
    }
    return drawn;
  }

  std::filesystem::path directory;
  platform::FixedStepClock clock{0.01};
  std::unique_ptr<platform::Window> window;
  std::unique_ptr<OpenGLView> view;
};

}  // namespace chart::testing
