#include "decoded_picture.h"

#include <tiffio.h>

#include <memory>
#include <stdexcept>

namespace {

struct TiffCloser {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

}  // namespace

DecodedPicture decodePicture(const std::filesystem::path& file) {
  std::unique_ptr<TIFF, TiffCloser> tiff(TIFFOpen(file.c_str(), "r"));
  if (!tiff) throw std::runtime_error("cannot open " + file.string());
  DecodedPicture picture;
  std::uint16_t planar = 0;
  TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &picture.width);
  TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &picture.height);
  TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_BITSPERSAMPLE, &picture.bitsPerSample);
  TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_SAMPLESPERPIXEL, &picture.samplesPerPixel);
  TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_ORIENTATION, &picture.orientation);
  TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_PLANARCONFIG, &planar);
  if (picture.bitsPerSample != 8 || planar != PLANARCONFIG_CONTIG) {
    throw std::runtime_error(file.string() + " is not 8-bit interleaved");
  }

  const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * picture.samplesPerPixel;
  picture.samples.resize(rowBytes * picture.height);
  for (std::uint32_t y = 0; y < picture.height; ++y) {
    if (TIFFReadScanline(tiff.get(), picture.samples.data() + rowBytes * y, y, 0) < 0) {
      throw std::runtime_error("cannot read row " + std::to_string(y) + " of " + file.string());
    }
  }
  return picture;
}
