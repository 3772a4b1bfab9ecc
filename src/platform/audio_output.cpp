#include "platform/audio_output.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>

namespace platform {

namespace {

// The process has one SDL audio subsystem and, in the game, one output; the beep of a fatal
// alert reaches it here without the alert knowing about sound.
AudioOutput* currentOutput = nullptr;

constexpr float kBeepFrequency = 880.0f;
constexpr float kBeepAmplitude = 0.25f;

// Starts SDL's audio subsystem, on `driver` when one is named (overriding the environment and
// the hints for this one start), else on SDL's own choice.
bool startAudio(const char* driver, std::string& error) {
  if (driver != nullptr) SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, driver, SDL_HINT_OVERRIDE);
  const bool started = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  if (driver != nullptr) SDL_ResetHint(SDL_HINT_AUDIODRIVER);
  if (!started) error = SDL_GetError();
  return started;
}

}  // namespace

std::unique_ptr<AudioOutput> AudioOutput::open(const AudioFormat& format, AudioSource& source) {
  std::unique_ptr<AudioOutput> output(new AudioOutput(format, source, true));
  SDL_AudioSpec wanted{};
  wanted.freq = format.sampleRate;
  wanted.format = AUDIO_F32SYS;
  wanted.channels = Uint8(format.channels);
  wanted.samples = Uint16(format.bufferFrames);
  wanted.callback = &AudioOutput::callback;
  wanted.userdata = output.get();
  // No changes allowed: SDL converts to whatever the device takes, so the mixer always works in
  // the format the sounds were decoded to.
  const auto openDevice = [&] { return SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0); };

  std::string problem;
  if (startAudio(nullptr, problem)) {
    output->device = openDevice();
    if (output->device == 0) {
      problem = SDL_GetError();
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
  }
  if (output->device != 0) {
    const char* driver = SDL_GetCurrentAudioDriver();
    // The silent driver is only ever chosen on purpose (--headless, or SDL_AUDIODRIVER): no
    // need to say the sound is off.
    if (driver != nullptr && std::strcmp(driver, "dummy") == 0) output->audible_ = false;
  } else {
    output->audible_ = false;
    std::string dummyProblem;
    if (startAudio("dummy", dummyProblem)) {
      output->device = openDevice();
      if (output->device == 0) {
        dummyProblem = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
      }
    }
    if (output->device == 0) {
      std::fprintf(stderr, "aloft: sound is off and sounds do not advance (%s; %s)\n",
                   problem.c_str(), dummyProblem.c_str());
      return nullptr;
    }
    std::fprintf(stderr, "aloft: sound is off (no audio device: %s)\n", problem.c_str());
  }
  currentOutput = output.get();
  SDL_PauseAudioDevice(output->device, 0);
  return output;
}

AudioOutput::~AudioOutput() {
  if (currentOutput == this) currentOutput = nullptr;
  if (device == 0) return;
  // Closing waits for a running callback to return; after it the source is never called again.
  SDL_CloseAudioDevice(device);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

AudioOutput* AudioOutput::current() { return currentOutput; }

void AudioOutput::stopClock() {
  // Pausing waits for a running callback to return; after it SDL calls none until unpaused.
  if (device != 0) SDL_PauseAudioDevice(device, 1);
}

void AudioOutput::callback(void* self, std::uint8_t* stream, int bytes) {
  auto& output = *static_cast<AudioOutput*>(self);
  const int frames = bytes / int(sizeof(float) * std::size_t(output.format_.channels));
  output.fill(reinterpret_cast<float*>(stream), frames);
}

void AudioOutput::fill(float* out, int frames) noexcept {
  const std::size_t count = std::size_t(frames) * std::size_t(format_.channels);
  std::fill_n(out, count, 0.0f);
  source.render(out, frames);
  addBeep(out, frames);
  // Sounds are summed freely; only the sum is kept inside the range the device takes.
  for (std::size_t i = 0; i < count; ++i) out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

void AudioOutput::addBeep(float* out, int frames) noexcept {
  int left = beepFramesLeft.load(std::memory_order_relaxed);
  if (left <= 0) return;
  const int length = beepLength();
  const int fade = length / 10;  // soft edges: a hard start or end would click
  const int count = std::min(left, frames);
  for (int i = 0; i < count; ++i) {
    const int t = length - left + i;
    const float edge = float(std::min({t, length - 1 - t, fade})) / float(fade);
    const float value = kBeepAmplitude * edge *
                        std::sin(2 * std::numbers::pi_v<float> * kBeepFrequency * float(t) /
                                 float(format_.sampleRate));
    for (int channel = 0; channel < format_.channels; ++channel) {
      out[i * format_.channels + channel] += value;
    }
  }
  beepFramesLeft.compare_exchange_strong(left, left - count, std::memory_order_relaxed);
}

}  // namespace platform
