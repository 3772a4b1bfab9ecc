// Playing without a mouse: controllers merged into arrow keys, the panel focus, the volume keys
// and the pause screen.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <tuple>
#include <vector>

#include "app/controller_keys.h"
#include "app/panel_focus.h"
#include "app/pause_screen.h"
#include "app/volume_keys.h"
#include "chart/preferences.h"
#include "engine/kiv_audio.h"
#include "support/headless_view.h"
#include "support/picture.h"
#include "support/run_program.h"

namespace {

using platform::ControllerInput;
using platform::InputKind;
using enum ControllerInput::Button;
using enum ControllerInput::Kind;

// "+R" for a Right key-down, "-L" for a Left key-up, in order.
std::string keysOf(const ControllerKeys::KeyEvents& keys) {
  const std::u16string arrows{platform::kLeftArrowCharacter, platform::kRightArrowCharacter,
                              platform::kUpArrowCharacter, platform::kDownArrowCharacter};
  std::string text;
  for (int i = 0; i < keys.count; ++i) {
    const platform::InputEvent& key = keys.events[std::size_t(i)];
    text += key.kind == InputKind::KeyDown ? '+' : '-';
    text += "LRUD?"[std::min(arrows.find(key.character), arrows.size())];
  }
  return text;
}

// Whole runs steered by controllers (two_games_test.cpp) press the D-pad and hold an arrow on
// two controllers at once; here the edges.
TEST(ControllerKeys, ControllersHoldTheArrowsAsOne) {
  struct Step {
    ControllerInput input;
    const char* keys;
  };
  const std::vector<std::pair<const char*, std::vector<Step>>> cases = {
      {"the stick counts past its dead zone only, and sweeps release before pressing",
       {{{StickX, A, 1, ControllerKeys::kDeadZone}, ""},
        {{StickX, A, 1, -ControllerKeys::kDeadZone - 1}, "+L"},
        {{StickX, A, 1, -30000}, ""},
        {{StickX, A, 1, 30000}, "-L+R"},
        {{StickX, A, 1, 0}, "-R"}}},
      {"a disconnect releases what that controller held, and only that",
       {{{ButtonDown, Right, 1, 0}, "+R"},
        {{ButtonDown, Up, 2, 0}, "+U"},
        {{Disconnected, A, 1, 0}, "-R"},
        {{ButtonUp, Up, 2, 0}, "-U"}}},
      {"other buttons make no keys",
       {{{ButtonDown, A, 1, 0}, ""}, {{ButtonDown, Start, 1, 0}, ""}}},
  };
  for (const auto& [name, steps] : cases) {
    ControllerKeys keys;
    for (std::size_t i = 0; i < steps.size(); ++i) {
      EXPECT_EQ(keysOf(keys.translate(steps[i].input)), steps[i].keys) << name << ", step " << i;
    }
  }
}

TEST(PanelFocus, KeysMoveTheFocusAroundThePanelsAndReturnClicksTheFocusedOne) {
  // Three panels, so that forward and back differ.
  const engine::PickingOutline threePanels[] = {
      {0, 10, 10, 30, 20}, {1, 10, 40, 50, 60}, {2, 10, 70, 30, 80}};
  const PanelFocus::Panels panels(threePanels), none;
  constexpr char16_t down = platform::kDownArrowCharacter, up = platform::kUpArrowCharacter;
  // A key, how it comes (r: its release, s: with Shift, n: no panels shown, k: the charts get
  // it), then the focused panel.
  struct Step {
    char16_t key;
    std::string how;
    std::int32_t focused;
  };
  const std::vector<std::pair<const char*, std::vector<Step>>> cases = {
      {"Down starts at the first panel and wraps; its releases are taken too",
       {{down, "", 0}, {down, "r", 0}, {down, "", 1}, {down, "", 2}, {down, "", 0}}},
      {"Up also starts at the first, then goes back, wrapping",
       {{up, "", 0}, {up, "", 2}, {up, "", 1}}},
      {"Tab forward, Shift+Tab back", {{u'\t', "", 0}, {u'\t', "", 1}, {u'\t', "s", 0}}},
      {"without panels every key reaches the charts, and the focus goes",
       {{down, "", 0}, {down, "nk", -1}, {u'x', "rnk", -1}}},
      {"Return without a focus and other keys reach the charts",
       {{u'\r', "k", -1}, {u' ', "k", -1}, {platform::kRightArrowCharacter, "k", -1}}},
  };
  const auto event = [](char16_t key, bool release) {
    return platform::InputEvent{release ? InputKind::KeyUp : InputKind::KeyDown, key};
  };
  for (const auto& [name, steps] : cases) {
    PanelFocus focus;
    for (std::size_t i = 0; i < steps.size(); ++i) {
      const auto has = [&](char flag) { return steps[i].how.find(flag) != std::string::npos; };
      const PanelFocus::Taken taken =
          focus.takeKey(event(steps[i].key, has('r')), has('s'), has('n') ? none : panels);
      EXPECT_EQ(taken == PanelFocus::Taken::No, has('k')) << name << ", step " << i;
      EXPECT_EQ(focus.focusedIndex(), steps[i].focused) << name << ", step " << i;
    }
  }
  // Return clicks the focused panel: the press at its centre for this frame, the release the
  // next, then the pointer is the mouse's again. (Whole runs: two_games_test.cpp.)
  PanelFocus focus;
  focus.takeKey(event(down, false), false, panels);
  EXPECT_EQ(focus.takeKey(event(u'\r', false), false, panels), PanelFocus::Taken::Clicked);
  EXPECT_TRUE(focus.clickPoint() && focus.clickPoint()->x == 20 && focus.clickPoint()->y == 15);
  EXPECT_FALSE(focus.click(panels)) << "a second click while the press is current";
  EXPECT_EQ(focus.advanceClick(), InputKind::LeftMouseUp);
  EXPECT_TRUE(focus.clickPoint());
  EXPECT_EQ(focus.advanceClick(), std::nullopt);
  EXPECT_FALSE(focus.clickPoint());
}

TEST(VolumeKeys, StepsMutesAndKeepsItsOwnKeyOnly) {
  const std::string file = ::testing::TempDir() + "volume-prefs.json";
  writeText(file, R"({"Easy": [0, 0, 4, 2, 1, 7], "Volume": "loud"})");
  chart::Preferences preferences(file);
  VolumeKeys volume(preferences);
  EXPECT_EQ(volume.percent(), 100) << "an unusable stored value is not used";
  using platform::Command;
  // A step is heard at once and ends muting; the gain is the fraction squared.
  const std::tuple<Command, int, bool, float> steps[] = {
      {Command::VolumeUp, 100, false, 1.0f}, {Command::VolumeDown, 90, false, 0.81f},
      {Command::ToggleMute, 90, true, 0.0f}, {Command::ToggleMute, 90, false, 0.81f},
      {Command::ToggleMute, 90, true, 0.0f}, {Command::VolumeDown, 80, false, 0.64f}};
  for (const auto& [command, percent, muted, gain] : steps) {
    EXPECT_TRUE(volume.handle(command, 0));
    EXPECT_EQ(volume.percent(), percent);
    EXPECT_EQ(volume.muted(), muted);
    EXPECT_FLOAT_EQ(engine::KivAudio::sharedVolume(), gain);
  }
  for (int i = 0; i < 9; ++i) volume.handle(Command::VolumeDown, 0);
  EXPECT_EQ(volume.percent(), 0);
  EXPECT_FALSE(volume.handle(Command::TogglePause, 0));
  EXPECT_EQ(nlohmann::json::parse(readText(file)),
            (nlohmann::json{{"Easy", {0, 0, 4, 2, 1, 7}},
                            {"Volume", {{"Percent", 0}, {"Muted", false}}}}));

  // The next run starts as stored; the options override it for their run only.
  chart::Preferences again(file);
  VolumeKeys next(again);
  EXPECT_EQ(next.percent(), 0);
  next.startWith(50, false);
  EXPECT_FLOAT_EQ(engine::KivAudio::sharedVolume(), 0.25f);
  next.startWith(std::nullopt, true);
  EXPECT_FLOAT_EQ(engine::KivAudio::sharedVolume(), 0.0f);
  EXPECT_EQ(again.find("Volume")->at("Percent"), 0);
  next.startWith(100, false);  // as the other tests expect the game's sound
}

using Pause = HeadlessView;

TEST_F(Pause, StartPausesOverTheDimmedLastFrameAndBResumes) {
  InputScript script =
      scriptOf("1 pad-connect 1\n3 pad-down 1 start\n4 pad-up 1 start\n5 pad-down 1 b\n");
  for (int frame = 1; frame <= 2; ++frame) step(&script);
  // The loop would wait out the pause: frame 3's input is taken by hand.
  script.deliver(3);
  view->takeFrameEvents();
  ASSERT_FALSE(view->timerRunning());
  const std::int64_t drawn = view->framesDrawn();

  // A known last frame, then the pause screen over it.
  const platform::Size size = window->drawableSize();
  const float colour[] = {0.8f, 0.4f, 1.0f};
  glClearColor(colour[0], colour[1], colour[2], 1);
  glClear(GL_COLOR_BUFFER_BIT);
  window->present();
  PauseScreen screen;
  screen.capture(size);
  screen.draw(size);
  const Picture paused = readFrameBuffer(size.width, size.height);
  window->present();
  glClearColor(0, 0, 0, 1);
  // A corner: the picture at 35%. The middle rows hold the white title.
  for (int at : {0, 1, 2}) EXPECT_NEAR(paused.at(0, 0)[at], colour[at] * 0.35 * 255, 2);
  int white = 0;
  for (std::size_t i = 0; i < paused.rgba.size(); i += 4) {
    white += std::min({paused.rgba[i], paused.rgba[i + 1], paused.rgba[i + 2]}) > 240;
  }
  EXPECT_GT(white, 500);

  // The release of Start changes nothing; B resumes. While paused no frame ran.
  script.deliver(4);
  view->waitForEvents(10);
  EXPECT_FALSE(view->timerRunning());
  script.deliver(5);
  for (int wait = 0; wait < 5 && !view->timerRunning(); ++wait) view->waitForEvents(10);
  EXPECT_TRUE(view->timerRunning());
  EXPECT_EQ(view->framesDrawn(), drawn);
}

}  // namespace
