#include "tiff_file.h"

#include <tiffio.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

namespace resgen {

namespace {

struct TiffCloser {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

// Rows per strip: strips of about 64 KiB keep LZW efficient and readers' buffers small.
std::uint32_t rowsPerStrip(const Image& image) {
  const auto rowBytes = static_cast<std::uint32_t>(image.width * image.channels);
  const std::uint32_t rows = 65536u / rowBytes;
  return rows == 0 ? 1 : rows;
}

}  // namespace

void writeTiff(const std::filesystem::path& path, const Image& image, AlphaKind alpha) {
  std::unique_ptr<TIFF, TiffCloser> tiff(TIFFOpen(path.c_str(), "w"));
  if (!tiff) throw std::runtime_error("cannot create " + path.string());

  TIFF* out = tiff.get();
  TIFFSetField(out, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(image.width));
  TIFFSetField(out, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(image.height));
  TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, image.channels);
  TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(out, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(out, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
  TIFFSetField(out, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
  TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, rowsPerStrip(image));
  if (image.channels == 4) {
    const std::uint16_t extra =
        alpha == AlphaKind::Premultiplied ? EXTRASAMPLE_ASSOCALPHA : EXTRASAMPLE_UNASSALPHA;
    TIFFSetField(out, TIFFTAG_EXTRASAMPLES, 1, &extra);
  }

  // libtiff may modify the buffer it is given while encoding, so each row is copied.
  std::vector<std::uint8_t> row(static_cast<std::size_t>(image.width * image.channels));
  for (int y = 0; y < image.height; ++y) {
    const auto* first = image.samples.data() + static_cast<std::size_t>(y) * row.size();
    row.assign(first, first + row.size());
    if (TIFFWriteScanline(out, row.data(), static_cast<std::uint32_t>(y), 0) < 0) {
      throw std::runtime_error("cannot write " + path.string());
    }
  }
}

}  // namespace resgen
