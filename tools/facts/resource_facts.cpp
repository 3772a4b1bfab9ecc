// Records what the game can observe of each file of a kivResources folder, by running the game's
// own decoders over it, as C++ for the front program (src/app/known_resources.h):
//   aloft-resource-facts KIVRESOURCES OUTPUT.cpp
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <vector>

#include "app/resource_digest.h"
#include "platform/known_files.h"
#include "platform/sound_file.h"

namespace {

const char* resultName(platform::ImageReadResult result) {
  switch (result) {
    case platform::ImageReadResult::Decoded: return "Decoded";
    case platform::ImageReadResult::NotDecoded: return "NotDecoded";
    case platform::ImageReadResult::UnsupportedPixelLayout: return "UnsupportedPixelLayout";
    case platform::ImageReadResult::OverMemoryLimit: return "OverMemoryLimit";
  }
  return "NotDecoded";
}

// The name as a C++ string literal; a name that needs escaping is not one the game loads.
bool plainName(const std::string& name) {
  return std::all_of(name.begin(), name.end(),
                     [](char c) { return c >= 0x20 && c < 0x7f && c != '"' && c != '\\'; });
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  if (argc != 3) {
    std::cerr << "usage: aloft-resource-facts KIVRESOURCES OUTPUT.cpp\n";
    return 2;
  }
  const std::string folder = argv[1];
  std::vector<fs::path> files;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    if (entry.is_regular_file(error) && plainName(entry.path().filename().string())) {
      files.push_back(entry.path());
    }
  }
  if (error) {
    std::cerr << "aloft-resource-facts: " << folder << ": " << error.message() << '\n';
    return 1;
  }
  std::sort(files.begin(), files.end());

  std::ofstream out(argv[2]);
  out << "// Written by aloft-resource-facts from " << folder << ": do not edit.\n"
      << "#include \"app/known_resources.h\"\n\nnamespace {\n\n"
      << "constexpr platform::KnownFile kFiles[] = {\n";
  for (const fs::path& path : files) {
    platform::DecodedImage image;
    const auto picture = platform::readImageFile(path, platform::kKnownFilesMaxSide, image);
    const auto sound = platform::decodeSoundFile(
        path, {platform::kKnownFilesSoundRate, platform::kKnownFilesSoundChannels, true});
    out << "    {\"" << path.filename().string() << "\", platform::ImageReadResult::"
        << resultName(picture) << ", " << image.width << ", " << image.height << ", "
        << image.samplesPerPixel << ", " << (sound ? sound->frames() : -1) << "},\n";
  }
  out << "};\n\n}  // namespace\n\n"
      << "const std::string_view kKnownResourceDigest = \"" << resourceDigest(folder) << "\";\n"
      << "const std::span<const platform::KnownFile> kKnownResources(kFiles);\n";
  out.close();
  if (!out) {
    std::cerr << "aloft-resource-facts: cannot write " << argv[2] << '\n';
    return 1;
  }
  return 0;
}
