// The committed resources are exactly what the generator makes: nobody edited them by hand, and
// nothing in them (a date, a random seed) changes from run to run. A fault anywhere in the
// generator's drawing, noise, lettering or synthesis changes some byte of some file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "icon_set.h"
#include "picture_set.h"
#include "resource_dir.h"
#include "sound_set.h"

namespace {

namespace fs = std::filesystem;

std::string bytesOf(const fs::path& file) {
  std::ifstream stream(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

struct Batch {
  const char* what;
  std::function<void(const fs::path&)> write;
  std::vector<fs::path> files;  // relative to the folder written and to `committed`
  fs::path committed;
};

TEST(Regeneration, EveryResourceMatchesTheCommittedFileByteForByte) {
  std::vector<fs::path> icons;
  for (const int size : resgen::kIconSizes) icons.push_back(resgen::iconFile("", size));
  const Batch batches[] = {
      {"pictures",
       [](const fs::path& to) { resgen::writePictures(to, ALOFT_RESOURCE_FONT); },
       {"TupLogo.tif", "FennickOGL2.tif", "Grass.tif", "Sky_Day.tif", "RobotFont.tif",
        "shadow.tif"},
       ALOFT_RESOURCE_DIR},
      {"sounds", resgen::writeSounds, {"PianoAndPer.m4a", "Death2.m4a"}, ALOFT_RESOURCE_DIR},
      {"icons", resgen::writeIcons, icons, ALOFT_ICON_DIR},
  };
  for (const Batch& batch : batches) {
    const fs::path directory =
        fs::temp_directory_path() /
        ("aloft-resgen-" + std::string(batch.what) + "-" + std::to_string(::getpid()));
    fs::create_directories(directory);
    batch.write(directory);
    for (const fs::path& file : batch.files) {
      const std::string made = bytesOf(directory / file);
      EXPECT_FALSE(made.empty()) << file;
      EXPECT_TRUE(made == bytesOf(batch.committed / file))
          << file << " differs from the committed file";
    }
    fs::remove_all(directory);
  }
}

}  // namespace
