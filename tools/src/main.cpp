// Generates the game's pictures and sounds into a folder, and with --icons the desktop icons
// into another:
//   aloft-resgen [--pictures-only] [--font FILE] [--icons ICON_DIR] OUTPUT_DIR
#include <exception>
#include <filesystem>
#include <iostream>
#include <string_view>

#include "icon_set.h"
#include "picture_set.h"
#include "sound_set.h"

namespace {

int usage() {
  std::cerr
      << "usage: aloft-resgen [--pictures-only] [--font FILE] [--icons ICON_DIR] OUTPUT_DIR\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool picturesOnly = false;
  std::filesystem::path font = ALOFT_DEFAULT_FONT;
  std::filesystem::path output;
  std::filesystem::path icons;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--pictures-only") {
      picturesOnly = true;
    } else if (argument == "--font" && i + 1 < argc) {
      font = argv[++i];
    } else if (argument == "--icons" && i + 1 < argc) {
      icons = argv[++i];
    } else if (!argument.starts_with("-") && output.empty()) {
      output = argument;
    } else {
      return usage();
    }
  }
  if (output.empty()) return usage();

  try {
    std::filesystem::create_directories(output);
    resgen::writePictures(output, font);
    if (!picturesOnly) resgen::writeSounds(output);
    if (!icons.empty()) resgen::writeIcons(icons);
  } catch (const std::exception& error) {
    std::cerr << "aloft-resgen: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
