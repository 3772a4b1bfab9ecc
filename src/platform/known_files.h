// What the game can observe of its resource files, recorded when the program was built: a
// picture's size and a sound's length, exactly as the decoders found them. The program that
// only verifies replays answers from these instead of decoding, once it has checked that the
// resources it uses are the ones recorded.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/image_file.h"

namespace platform {

struct KnownFile {
  const char* name;  // within the resource folder
  // What `readImageFile` gave at `kKnownFilesMaxSide`, and the picture's size when decoded.
  ImageReadResult picture;
  int width;
  int height;
  int samplesPerPixel;
  // The frames `decodeSoundFile` gave at `kKnownFilesSoundRate`/`kKnownFilesSoundChannels`;
  // -1 when it refused the file.
  std::int64_t soundFrames;
};

// The conditions the facts were recorded under; a question asked under others is not answered.
inline constexpr int kKnownFilesMaxSide = 16384;
inline constexpr int kKnownFilesSoundRate = 44100;
inline constexpr int kKnownFilesSoundChannels = 2;

// From now on pictures and sounds under `folder` are answered from `files` (the program without
// devices only).
void useKnownFiles(const std::string& folder, std::span<const KnownFile> files);

}  // namespace platform
