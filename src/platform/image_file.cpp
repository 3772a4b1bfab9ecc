#include "platform/image_file.h"

#include <tiffio.h>

#include <cstdarg>
#include <limits>
#include <memory>

namespace platform {

namespace {

// The caller reports an unreadable picture itself, with its own message; libtiff's messages
// would only be noise on stderr. Returning 1 keeps the library-wide handlers from running too.
int ignoreTiffMessage(TIFF*, void*, const char*, const char*, va_list) { return 1; }

// Caps any single allocation libtiff makes for one file, so a corrupt header cannot make it
// reserve gigabytes before the read fails.
constexpr tmsize_t kMaxTiffAllocation = tmsize_t(256) * 1024 * 1024;

struct TiffCloser {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

struct TiffOptionsFree {
  void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};

TiffHandle openQuietly(const std::string& path) {
  std::unique_ptr<TIFFOpenOptions, TiffOptionsFree> options(TIFFOpenOptionsAlloc());
  if (!options) return nullptr;
  TIFFOpenOptionsSetErrorHandlerExtR(options.get(), ignoreTiffMessage, nullptr);
  TIFFOpenOptionsSetWarningHandlerExtR(options.get(), ignoreTiffMessage, nullptr);
  TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), kMaxTiffAllocation);
  return TiffHandle(TIFFOpenExt(path.c_str(), "r", options.get()));
}

// Only 8-bit samples, stored pixel by pixel, as RGB or RGB with one extra (alpha) sample, can go
// to GL as they are.
bool hasUploadableLayout(TIFF* tiff, std::uint16_t& samplesPerPixel) {
  std::uint16_t bitsPerSample = 0;
  std::uint16_t planarConfig = 0;
  std::uint16_t photometric = 0;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samplesPerPixel);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planarConfig);
  if (TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric) != 1) return false;
  return bitsPerSample == 8 && planarConfig == PLANARCONFIG_CONTIG &&
         photometric == PHOTOMETRIC_RGB && (samplesPerPixel == 3 || samplesPerPixel == 4);
}

}  // namespace

ImageReadResult readImageFile(const std::string& path, int maxSide, DecodedImage& image) {
  image = DecodedImage{};
  const TiffHandle tiff = openQuietly(path);
  if (!tiff) return ImageReadResult::NotDecoded;

  std::uint32_t width = 0;
  std::uint32_t height = 0;
  if (TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width) != 1 ||
      TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height) != 1) {
    return ImageReadResult::NotDecoded;
  }
  std::uint16_t samplesPerPixel = 0;
  if (!hasUploadableLayout(tiff.get(), samplesPerPixel)) {
    return ImageReadResult::UnsupportedPixelLayout;
  }
  if (width == 0 || height == 0 || width > std::uint32_t(maxSide) ||
      height > std::uint32_t(maxSide)) {
    return ImageReadResult::NotDecoded;
  }
  const std::size_t rowBytes = std::size_t(width) * samplesPerPixel;
  if (height > std::numeric_limits<std::size_t>::max() / rowBytes) {
    return ImageReadResult::NotDecoded;
  }
  // libtiff writes a whole scanline into the row; anything but a packed row would overrun it.
  if (TIFFIsTiled(tiff.get()) || TIFFScanlineSize64(tiff.get()) != rowBytes) {
    return ImageReadResult::NotDecoded;
  }

  // Rows are appended as they decode, so a truncated file claiming a huge size fails at its
  // first missing strip instead of after the whole picture has been allocated.
  std::vector<std::uint8_t> row(rowBytes);
  for (std::uint32_t y = 0; y < height; ++y) {
    if (TIFFReadScanline(tiff.get(), row.data(), y, 0) != 1) {
      image = DecodedImage{};
      return ImageReadResult::NotDecoded;
    }
    image.pixels.insert(image.pixels.end(), row.begin(), row.end());
  }
  image.width = int(width);
  image.height = int(height);
  image.samplesPerPixel = samplesPerPixel;
  return ImageReadResult::Decoded;
}

}  // namespace platform
