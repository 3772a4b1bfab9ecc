#include "sound_set.h"

#include <string>

#include "sounds/aac_encoder.h"
#include "sounds/sounds.h"
#include "sounds/wav_file.h"

namespace resgen {

namespace {

// Headroom for the AAC encoder, whose decoded peaks can overshoot the input's by a
// fraction of a decibel; the encoded files stay below -1 dBFS.
constexpr float kPeakDbfs = -4.5f;

void writeEncoded(const std::filesystem::path& directory, const std::string& name,
                  SoundBuffer sound) {
  normalisePeak(sound, kPeakDbfs);
  const std::filesystem::path wav = directory / (name + ".wav");
  writeWav(wav, sound);
  encodeAac(wav, directory / (name + ".m4a"));
  std::filesystem::remove(wav);
}

}  // namespace

void writeSounds(const std::filesystem::path& directory) {
  writeEncoded(directory, "PianoAndPer", makeMusicLoop());
  writeEncoded(directory, "Death2", makeDeathSound());
}

}  // namespace resgen
