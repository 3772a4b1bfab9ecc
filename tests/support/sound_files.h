// Sound files made for a test with the ffmpeg command-line tool, in a temporary folder of its
// own that is removed afterwards.
#pragma once

#include <string>

#include "support/run_program.h"

class SoundFolder {
 public:
  std::string path(const std::string& name) const { return folder / name; }

  // Encodes `seconds` of a tone of `frequency` Hz with amplitude 0.5, starting at its peak
  // (a cosine), as AAC in an M4A file. Returns the file's path.
  std::string tone(const std::string& name, double frequency, double seconds,
                   int sampleRate = 44100, int channels = 1);
  // Runs ffmpeg with `arguments` (an audio source and encoding options) writing `name`.
  std::string make(const std::string& name, const std::string& arguments);

 private:
  ScratchDirectory folder{"sound"};
};
