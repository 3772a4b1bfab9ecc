// Sound output in a program that opens no audio device: none can be opened.
#include "platform/audio_output.h"

#include <cstdio>

namespace platform {

std::unique_ptr<AudioOutput> AudioOutput::open(const AudioFormat&, AudioSource&) {
  std::fputs("aloft: this program plays no sound\n", stderr);
  return nullptr;
}

AudioOutput::~AudioOutput() = default;

AudioOutput* AudioOutput::current() { return nullptr; }

}  // namespace platform
