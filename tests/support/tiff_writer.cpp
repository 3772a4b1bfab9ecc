#include "support/tiff_writer.h"

#include <tiffio.h>

#include <memory>

namespace {

struct TiffCloser {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

}  // namespace

bool writeTiff(const std::string& path, const TiffLayout& layout,
               const std::vector<std::uint8_t>& pixels) {
  std::unique_ptr<TIFF, TiffCloser> tiff(TIFFOpen(path.c_str(), "w"));
  if (!tiff) return false;
  TIFF* out = tiff.get();
  TIFFSetField(out, TIFFTAG_IMAGEWIDTH, layout.width);
  TIFFSetField(out, TIFFTAG_IMAGELENGTH, layout.height);
  TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, layout.samplesPerPixel);
  TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, layout.bitsPerSample);
  TIFFSetField(out, TIFFTAG_PHOTOMETRIC, layout.photometric);
  TIFFSetField(out, TIFFTAG_PLANARCONFIG, layout.planarConfig);
  TIFFSetField(out, TIFFTAG_COMPRESSION, layout.compression);
  TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, 1u);
  if (layout.samplesPerPixel == 4 && layout.photometric == PHOTOMETRIC_RGB) {
    const std::uint16_t extra = EXTRASAMPLE_UNASSALPHA;
    TIFFSetField(out, TIFFTAG_EXTRASAMPLES, 1, &extra);
  }
  std::vector<std::uint16_t> ramp;
  if (layout.photometric == PHOTOMETRIC_PALETTE) {
    const std::size_t entries = std::size_t(1) << layout.bitsPerSample;
    for (std::size_t i = 0; i < entries; ++i) ramp.push_back(std::uint16_t(i * 257));
    TIFFSetField(out, TIFFTAG_COLORMAP, ramp.data(), ramp.data(), ramp.data());
  }

  const bool planar = layout.planarConfig == PLANARCONFIG_SEPARATE;
  const std::size_t samplesPerRow =
      std::size_t(layout.width) * (planar ? 1 : layout.samplesPerPixel);
  const std::size_t rowBytes = samplesPerRow * layout.bitsPerSample / 8;
  const std::uint16_t planes = planar ? layout.samplesPerPixel : 1;
  std::vector<std::uint8_t> row(rowBytes);
  for (std::uint16_t plane = 0; plane < planes; ++plane) {
    for (std::uint32_t y = 0; y < layout.height; ++y) {
      const std::size_t at = (std::size_t(plane) * layout.height + y) * rowBytes;
      for (std::size_t i = 0; i < rowBytes; ++i) {
        row[i] = at + i < pixels.size() ? pixels[at + i] : 0;
      }
      if (TIFFWriteScanline(out, row.data(), y, plane) != 1) return false;
    }
  }
  return true;
}
