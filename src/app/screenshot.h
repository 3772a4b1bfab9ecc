// Reads the finished picture back from GL and writes it as PNG.
#pragma once

#include <string>

#include "platform/window.h"

// Writes the back buffer, `size` pixels from the bottom left, to `path`. Returns false with
// `error` set when the file cannot be written.
bool writeScreenshot(const std::string& path, platform::Size size, std::string& error);
