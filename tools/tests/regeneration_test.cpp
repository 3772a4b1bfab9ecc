// The committed resources are exactly what the generator makes: nobody edited them by hand, and
// nothing in them (a date, a random seed) changes from run to run. A fault anywhere in the
// generator's drawing, noise, lettering or synthesis changes some byte of some file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "icon_set.h"
#include "picture_set.h"
#include "sound_set.h"

namespace {

namespace fs = std::filesystem;

std::string bytesOf(const fs::path& file) {
  std::ifstream stream(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

TEST(Regeneration, EveryResourceMatchesTheCommittedFileByteForByte) {
  const fs::path made = fs::temp_directory_path() / ("aloft-resgen-" + std::to_string(::getpid()));
  fs::create_directories(made / "resources");
  resgen::writePictures(made / "resources", ALOFT_RESOURCE_FONT);
  resgen::writeSounds(made / "resources");
  resgen::writeIcons(made / "icons");

  std::vector<std::pair<fs::path, fs::path>> files;  // as made, as committed
  for (const char* name : {"TupLogo.tif", "FennickOGL2.tif", "Grass.tif", "Sky_Day.tif",
                           "RobotFont.tif", "shadow.tif", "PianoAndPer.m4a", "Death2.m4a"}) {
    files.emplace_back(made / "resources" / name, fs::path(ALOFT_RESOURCE_DIR) / name);
  }
  for (const int size : resgen::kIconSizes) {
    files.emplace_back(resgen::iconFile(made / "icons", size),
                       resgen::iconFile(ALOFT_ICON_DIR, size));
  }
  for (const auto& [ours, committed] : files) {
    const std::string bytes = bytesOf(ours);
    EXPECT_FALSE(bytes.empty()) << ours;
    EXPECT_TRUE(bytes == bytesOf(committed))
        << committed << " differs from what the generator makes";
  }
  fs::remove_all(made);
}

}  // namespace
