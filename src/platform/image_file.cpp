#include "platform/image_file.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/files.h"

namespace platform {

namespace {

// The caller reports an unreadable picture itself, with its own message; libtiff's messages
// would only be noise on stderr. Returning 1 keeps the library-wide handlers from running too.
int ignoreTiffMessage(TIFF*, void*, const char*, const char*, va_list) { return 1; }

// Caps any single allocation libtiff makes for one file, so a corrupt header cannot make it
// reserve gigabytes before the read fails; the decoded picture is held under the same cap.
constexpr tmsize_t kMaxTiffAllocation = tmsize_t(kMaxImageBytes);

struct TiffCloser {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

struct TiffOptionsFree {
  void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};

// The same options for a file and for bytes in memory, so both are decoded under the same rules.
using TiffOptions = std::unique_ptr<TIFFOpenOptions, TiffOptionsFree>;
TiffOptions quietOptions() {
  TiffOptions options(TIFFOpenOptionsAlloc());
  if (!options) return nullptr;
  TIFFOpenOptionsSetErrorHandlerExtR(options.get(), ignoreTiffMessage, nullptr);
  TIFFOpenOptionsSetWarningHandlerExtR(options.get(), ignoreTiffMessage, nullptr);
  TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), kMaxTiffAllocation);
  return options;
}

TiffHandle openFileQuietly(const std::string& path) {
  const TiffOptions options = quietOptions();
  // A named pipe or a device in place of a picture would block the open for ever.
  if (!options || checkRegularFile(path)) return nullptr;
  return TiffHandle(TIFFOpenExt(path.c_str(), "r", options.get()));
}

// Bytes in memory seen by libtiff as a read-only, mapped file.
struct MemoryFile {
  const std::uint8_t* data;
  toff_t size;
  toff_t position = 0;
};

MemoryFile& memoryOf(thandle_t handle) { return *static_cast<MemoryFile*>(handle); }

tmsize_t readMemory(thandle_t handle, void* buffer, tmsize_t count) {
  MemoryFile& file = memoryOf(handle);
  if (count <= 0 || file.position >= file.size) return 0;
  const toff_t available = file.size - file.position;
  const toff_t taken = std::min<toff_t>(toff_t(count), available);
  std::memcpy(buffer, file.data + file.position, std::size_t(taken));
  file.position += taken;
  return tmsize_t(taken);
}

tmsize_t refuseWrite(thandle_t, void*, tmsize_t) { return -1; }

toff_t seekMemory(thandle_t handle, toff_t offset, int whence) {
  MemoryFile& file = memoryOf(handle);
  toff_t base = 0;
  if (whence == SEEK_CUR) base = file.position;
  if (whence == SEEK_END) base = file.size;
  // libtiff passes offsets as unsigned; a relative step back arrives wrapped around.
  const toff_t target = base + offset;
  if (target > file.size) return toff_t(-1);
  file.position = target;
  return target;
}

int closeMemory(thandle_t) { return 0; }

toff_t sizeOfMemory(thandle_t handle) { return memoryOf(handle).size; }

int mapMemory(thandle_t handle, void** base, toff_t* size) {
  MemoryFile& file = memoryOf(handle);
  *base = const_cast<std::uint8_t*>(file.data);
  *size = file.size;
  return 1;
}

void unmapMemory(thandle_t, void*, toff_t) {}

TiffHandle openMemoryQuietly(MemoryFile& file) {
  const TiffOptions options = quietOptions();
  if (!options) return nullptr;
  return TiffHandle(TIFFClientOpenExt("memory", "r", &file, readMemory, refuseWrite, seekMemory,
                                      closeMemory, sizeOfMemory, mapMemory, unmapMemory,
                                      options.get()));
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

// Decodes the first picture of an open TIFF, from a file or from memory alike.
ImageReadResult decodeTiff(const TiffHandle& tiff, int maxSide, std::size_t maxBytes,
                           DecodedImage& image) {
  image = DecodedImage{};
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
  if (height > std::min(maxBytes, kMaxImageBytes) / rowBytes) {
    image.width = int(width);
    image.height = int(height);
    image.samplesPerPixel = samplesPerPixel;
    return ImageReadResult::OverMemoryLimit;
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

}  // namespace

ImageReadResult readImageFile(const std::string& path, int maxSide, DecodedImage& image,
                              std::size_t maxBytes) {
  return decodeTiff(openFileQuietly(path), maxSide, maxBytes, image);
}

ImageReadResult readImageBytes(const std::uint8_t* data, std::size_t size, int maxSide,
                               DecodedImage& image, std::size_t maxBytes) {
  MemoryFile file{data, toff_t(size)};
  return decodeTiff(openMemoryQuietly(file), maxSide, maxBytes, image);
}

}  // namespace platform
