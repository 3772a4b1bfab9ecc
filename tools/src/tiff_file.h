#pragma once

#include <filesystem>

#include "image.h"

namespace resgen {

// How the fourth sample of an RGBA picture relates to its colour samples.
enum class AlphaKind {
  Premultiplied,  // colour already multiplied by alpha (the picture as seen over black)
  Straight,       // colour independent of alpha
};

// Writes an 8-bit RGB or RGBA picture as an LZW-compressed TIFF, top row first.
// No date or software tag is written, so the same picture always gives the same bytes.
// Throws std::runtime_error when the file cannot be written.
void writeTiff(const std::filesystem::path& path, const Image& image,
               AlphaKind alpha = AlphaKind::Straight);

}  // namespace resgen
