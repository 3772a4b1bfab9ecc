#pragma once

#include <filesystem>

namespace resgen {

// The sizes, in pixels, the desktop icon is drawn at.
inline constexpr int kIconSizes[] = {48, 128, 256};

// The icon file of one size under `directory`, laid out as a hicolor icon theme:
// `hicolor/<N>x<N>/apps/<app id>.png`.
std::filesystem::path iconFile(const std::filesystem::path& directory, int size);

// Writes the desktop icon at every size into `directory`.
void writeIcons(const std::filesystem::path& directory);

}  // namespace resgen
