#pragma once

#include <filesystem>

namespace resgen {

// Encodes a WAV file to AAC in an M4A container with the ffmpeg command-line tool,
// leaving out metadata and version strings so that the output depends only on the sound.
// Throws std::runtime_error when ffmpeg cannot be run or fails.
void encodeAac(const std::filesystem::path& wav, const std::filesystem::path& m4a);

}  // namespace resgen
