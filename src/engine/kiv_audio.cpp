#include "engine/kiv_audio.h"

#include "engine/engine_message.h"
#include "engine/kiv_alert.h"
#include "platform/sound_file.h"

namespace engine {

namespace {

// The game's service, made on first use, and the volume it is to play at: set before it exists
// (the player's setting is read at start, the first sound comes later), applied when it is made.
struct Shared {
  std::unique_ptr<KivAudio> audio;
  float volume = 1.0f;
  bool withOutput = true;
};

Shared& shared() {
  static Shared instance;
  return instance;
}

}  // namespace

KivAudio& KivAudio::share() {
  Shared& game = shared();
  if (!game.audio) {
    game.audio = std::make_unique<KivAudio>(game.withOutput);
    game.audio->setVolume(game.volume);
  }
  return *game.audio;
}

void KivAudio::setSharedVolume(float gain) {
  Shared& game = shared();
  game.volume = gain;
  if (game.audio) game.audio->setVolume(gain);
}

float KivAudio::sharedVolume() { return shared().volume; }

void KivAudio::useNoOutput() { shared().withOutput = false; }

KivAudio::KivAudio(bool withOutput)
    : output(withOutput ? platform::AudioOutput::open(kFormat, mixer) : nullptr) {}

std::int32_t KivAudio::addSound(const std::string& path) {
  // Without an output nothing is heard: the file is decoded (and refused) as ever, but only its
  // length is kept.
  auto pcm = platform::decodeSoundFile(path, {kFormat.sampleRate, kFormat.channels, !output});
  if (!pcm) {
    KivAlert::share().setQuitAlert("The \" " + theActiveChart +
                                   " \" chart has an invalid sound file with directory " + path +
                                   " .");
  }
  const std::size_t bytes = pcm->samples.size() * sizeof(float);
  if (bytes > kDecodedBudget - theDecodedBytes) {
    KivAlert::share().setQuitAlert(
        "The \" " + theActiveChart + " \" chart has a sound file with directory " + path +
        " that is too large: " +
        engine::overBudgetReason(bytes, "sounds", kDecodedBudget, theDecodedBytes));
  }
  theDecodedBytes += bytes;
  ++soundIndex;
  theSoundDictionary.emplace(soundIndex, std::make_unique<Sound>(mixer, std::move(*pcm)));
  return soundIndex;
}

void KivAudio::playSound(std::int32_t index) {
  Sound* found = sound(index);
  if (found != nullptr && found->isPlaying()) {
    if (!found->resume()) report(index, "did not resume.");
  } else if (found == nullptr || !found->play()) {
    report(index, "did not play.");
  }
}

void KivAudio::setLoopSound(bool loop, std::int32_t index) {
  if (Sound* found = sound(index)) found->setLoops(loop);
}

void KivAudio::setTimeSound(float seconds, std::int32_t index) {
  if (Sound* found = sound(index)) found->setCurrentTime(double(seconds));
}

void KivAudio::removeSound(std::int32_t index) {
  Sound* found = sound(index);
  if (found == nullptr || !found->stop()) report(index, "did not stop when removed.");
  theDecodedBytes -= found->samples().samples.size() * sizeof(float);
  theSoundDictionary.erase(index);
}

Sound* KivAudio::sound(std::int32_t index) {
  const auto entry = theSoundDictionary.find(index);
  return entry == theSoundDictionary.end() ? nullptr : entry->second.get();
}

void KivAudio::report(std::int32_t index, std::string_view failure) const {
  KivAlert::share().setQuitAlert("The \" " + theActiveChart + " \" chart sound with index " +
                                 std::to_string(index) + " " + std::string(failure));
}

}  // namespace engine
