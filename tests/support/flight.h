// The flyer as the game chart moves it, for tests that script a run and must know what it
// stores: when it lands and the time the display keeps.
#pragma once

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>

// The frame in which a flyer started at `startFrame` (1.5 high, nose up, `speed` units a second,
// 0.01 s frames) comes back down to the landing height, with the right arrow held over the
// frames [turnFrom, turnTo) turning it `turnStep` degrees a frame; -1 if it never does.
inline int landingFrame(float turnStep, float speed, int startFrame, int turnFrom, int turnTo) {
  float height = 1.5f, heading = 0.0f;
  bool launched = false;
  for (int frame = startFrame; frame < startFrame + 10000; ++frame) {
    if (frame >= turnFrom && frame < turnTo) heading -= turnStep;
    height = std::min(height + speed * std::cos(3.1415927f * heading / -180.0f) * 0.01f, 30.0f);
    if (height > 3.0f) launched = true;
    if (launched && height <= 3.0f) return frame;
  }
  return -1;
}

// A time in hundredths as the six digits the time display stores, most significant first.
inline nlohmann::json storedDigits(int hundredths) {
  const int minutes = hundredths / 6000 % 100, seconds = hundredths / 100 % 60;
  const int rest = hundredths % 100;
  return {minutes / 10, minutes % 10, seconds / 10, seconds % 10, rest / 10, rest % 10};
}
