// The engine's sound service: loads sound files, keeps each loaded sound under an index (from
// 1, never reused) and plays, loops, rewinds and removes sounds on the charts' request. Every
// error is reported through `KivAlert` with the running chart's name and ends the program.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "engine/mixer.h"
#include "engine/services.h"
#include "engine/sound.h"
#include "platform/audio_output.h"

namespace engine {

class KivAudio final : public engine::AudioService {
 public:
  // What the output plays and the sounds are decoded to.
  static constexpr platform::AudioFormat kFormat{44100, 2, 1024};
  // The most the sounds loaded may take decoded, all together: six minutes of the output's
  // format (today's take 11 MB, one sound at most 202 MB). A sound that would pass it is refused
  // once decoded, before it is kept.
  static constexpr std::size_t kDecodedBudget = std::size_t(128) * 1024 * 1024;

  // The process-wide service, created on first use (which opens the sound output).
  static KivAudio& share();
  // The volume of the process-wide service (see `setVolume`), kept for it until it is made so
  // that setting it does not open the sound output.
  static void setSharedVolume(float gain);
  static float sharedVolume();
  // Makes the process-wide service one without an output (no audio device is opened): the
  // sounds load as they would and play unheard. Call before the first `share`.
  static void useNoOutput();
  // A service of its own, with its own output unless `withOutput` is false; `share` is the
  // game's.
  explicit KivAudio(bool withOutput = true);
  KivAudio(const KivAudio&) = delete;
  KivAudio& operator=(const KivAudio&) = delete;

  void setActiveChart(std::string_view chartName) override { theActiveChart.assign(chartName); }

  // Decodes the file at `path` and returns the new sound's index.
  std::int32_t addSound(const std::string& path) override;
  // Plays the sound from its current position; a sound already playing goes on from where it is.
  void playSound(std::int32_t index) override;
  void setLoopSound(bool loop, std::int32_t index) override;
  void setTimeSound(float seconds, std::int32_t index) override;
  // Stops the sound and forgets it.
  void removeSound(std::int32_t index) override;

  // The sound under `index`, or null when there is none.
  Sound* sound(std::int32_t index);
  // How many sounds are loaded.
  std::size_t soundCount() const { return theSoundDictionary.size(); }
  // What the loaded sounds took decoded, together.
  std::size_t decodedBytes() const { return theDecodedBytes; }
  // The loudness of everything played, from 0 (silent) to 1 (as recorded); from the next buffer.
  void setVolume(float gain) { mixer.setGain(gain); }
  float volume() const { return mixer.gain(); }
  // False when the output is silent (no audio device) or missing.
  bool audible() const { return output && output->audible(); }
  // The output the sounds play into; null when SDL cannot run audio at all.
  platform::AudioOutput* audioOutput() { return output.get(); }

 private:
  [[noreturn]] void report(std::int32_t index, std::string_view failure) const;

  // Declared in this order so that the sounds go first (giving back their voices) and the
  // output closes before the mixer it calls.
  Mixer mixer{kFormat.channels};
  std::unique_ptr<platform::AudioOutput> output;
  std::map<std::int32_t, std::unique_ptr<Sound>> theSoundDictionary;
  std::string theActiveChart;
  std::int32_t soundIndex = 0;
  std::size_t theDecodedBytes = 0;
};

}  // namespace engine
