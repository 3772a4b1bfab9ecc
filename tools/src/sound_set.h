#pragma once

#include <filesystem>

namespace resgen {

// Synthesises the two sounds and writes them into `directory` as AAC in M4A, under the
// names the game loads them by. Needs the ffmpeg command-line tool.
void writeSounds(const std::filesystem::path& directory);

}  // namespace resgen
