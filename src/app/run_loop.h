// The frame timer's loop: ticks, scripted input, events, frames, until the game ends.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/flight_log.h"
#include "app/input_script.h"
#include "app/opengl_view.h"
#include "app/replay_player.h"

struct RunSettings {
  std::optional<std::int64_t> frameLimit;  // end normally after this frame
  InputScript* script = nullptr;
  std::string screenshotPath;  // written from the last frame when the run ends after frameLimit
  // A replay being played: its last frame is the run's last; with `holdAfterReplay` the picture
  // then stays until the player quits.
  const ReplayPlayer* replay = nullptr;
  bool holdAfterReplay = false;
  FlightLog* flight = nullptr;  // told of every frame the charts ran
};

// Runs frames until a quit command or the frame limit.
void runFrames(OpenGLView& view, platform::Window& window, platform::Clock& clock,
               const RunSettings& settings);
