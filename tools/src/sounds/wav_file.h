#pragma once

#include <filesystem>

#include "sound_buffer.h"

namespace resgen {

// Writes the sound as 16-bit stereo PCM WAV at 44.1 kHz, clamping to full scale.
// Throws std::runtime_error when the file cannot be written.
void writeWav(const std::filesystem::path& path, const SoundBuffer& sound);

}  // namespace resgen
