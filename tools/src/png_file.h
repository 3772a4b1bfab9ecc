#pragma once

#include <filesystem>

#include "image.h"

namespace resgen {

// Writes an 8-bit RGB or RGBA picture (straight alpha) as PNG. No time or text chunk is
// written, so the same picture always gives the same bytes.
// Throws std::runtime_error when the file cannot be written.
void writePng(const std::filesystem::path& path, const Image& image);

}  // namespace resgen
