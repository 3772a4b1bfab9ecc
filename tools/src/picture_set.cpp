#include "picture_set.h"

#include "pictures/pictures.h"
#include "tiff_file.h"

namespace resgen {

void writePictures(const std::filesystem::path& directory, const std::filesystem::path& fontFile) {
  FontFace font(fontFile);
  writeTiff(directory / "TupLogo.tif", makeTitleLogo(font), AlphaKind::Premultiplied);
  writeTiff(directory / "FennickOGL2.tif", makeMakersMark(font), AlphaKind::Premultiplied);
  writeTiff(directory / "Grass.tif", makeGrass());
  writeTiff(directory / "Sky_Day.tif", makeSky());
  writeTiff(directory / "RobotFont.tif", makeFontSheet(font), AlphaKind::Straight);
  writeTiff(directory / "shadow.tif", makeShadow(), AlphaKind::Straight);
}

}  // namespace resgen
