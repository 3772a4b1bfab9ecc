#pragma once

#include <filesystem>

namespace resgen {

// Writes the six pictures into `directory` under the names the game loads them by.
void writePictures(const std::filesystem::path& directory, const std::filesystem::path& fontFile);

}  // namespace resgen
