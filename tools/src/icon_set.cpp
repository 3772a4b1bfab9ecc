#include "icon_set.h"

#include <string>

#include "pictures/pictures.h"
#include "png_file.h"

namespace resgen {

std::filesystem::path iconFile(const std::filesystem::path& directory, int size) {
  const std::string pixels = std::to_string(size);
  return directory / "hicolor" / (pixels + "x" + pixels) / "apps" /
         (std::string(ALOFT_APP_ID) + ".png");
}

void writeIcons(const std::filesystem::path& directory) {
  for (const int size : kIconSizes) {
    const std::filesystem::path file = iconFile(directory, size);
    std::filesystem::create_directories(file.parent_path());
    writePng(file, makeAppIcon(size));
  }
}

}  // namespace resgen
