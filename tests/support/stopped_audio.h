// The sound service on one of SDL's audio drivers with the output's own clock stopped: a sound
// advances only by the buffers a test pulls, so what was played is known exactly.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "engine/kiv_audio.h"

inline std::unique_ptr<engine::KivAudio> stoppedAudio(const char* driver = "dummy") {
  setenv("SDL_AUDIODRIVER", driver, 1);
  auto audio = std::make_unique<engine::KivAudio>();
  unsetenv("SDL_AUDIODRIVER");
  EXPECT_NE(audio->audioOutput(), nullptr);
  if (audio->audioOutput()) audio->audioOutput()->stopClock();
  return audio;
}
