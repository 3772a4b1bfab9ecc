#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "icon_set.h"
#include "picture_set.h"
#include "resource_dir.h"

namespace {

std::string bytesOf(const std::filesystem::path& file) {
  std::ifstream stream(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

// The committed pictures are exactly what the generator makes: nobody edited them by hand
// and nothing in them (a date, a random seed) changes from run to run.
TEST(Regeneration, PicturesMatchTheCommittedFilesByteForByte) {
  const std::filesystem::path directory =
      std::filesystem::temp_directory_path() / ("aloft-resgen-test-" + std::to_string(::getpid()));
  std::filesystem::create_directories(directory);
  resgen::writePictures(directory, ALOFT_RESOURCE_FONT);

  for (const char* name : {"TupLogo.tif", "FennickOGL2.tif", "Grass.tif", "Sky_Day.tif",
                           "RobotFont.tif", "shadow.tif"}) {
    const std::string made = bytesOf(directory / name);
    EXPECT_FALSE(made.empty()) << name;
    EXPECT_TRUE(made == bytesOf(resourceFile(name))) << name << " differs from the committed file";
  }
  std::filesystem::remove_all(directory);
}

// So are the desktop icons.
TEST(Regeneration, IconsMatchTheCommittedFilesByteForByte) {
  const std::filesystem::path directory =
      std::filesystem::temp_directory_path() / ("aloft-icon-test-" + std::to_string(::getpid()));
  resgen::writeIcons(directory);
  for (const int size : resgen::kIconSizes) {
    const std::string made = bytesOf(resgen::iconFile(directory, size));
    EXPECT_FALSE(made.empty()) << size;
    EXPECT_TRUE(made == bytesOf(resgen::iconFile(ALOFT_ICON_DIR, size)))
        << size << " px icon differs from the committed file";
  }
  std::filesystem::remove_all(directory);
}

}  // namespace
