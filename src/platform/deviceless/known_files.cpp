// Pictures and sounds for the program without devices: answered from the recorded facts, never
// decoded. A file that was not recorded is treated as one that cannot be read.
#include "platform/known_files.h"

#include <algorithm>
#include <string_view>

#include "platform/sound_file.h"

namespace platform {

namespace {

struct Known {
  std::string folder;
  std::span<const KnownFile> files;
};

Known& known() {
  static Known instance;
  return instance;
}

const KnownFile* lookUp(const std::string& path) {
  const Known& facts = known();
  if (facts.folder.empty() || path.compare(0, facts.folder.size(), facts.folder) != 0) {
    return nullptr;
  }
  const std::string_view name = std::string_view(path).substr(facts.folder.size());
  const auto found = std::find_if(facts.files.begin(), facts.files.end(),
                                  [name](const KnownFile& file) { return file.name == name; });
  return found == facts.files.end() ? nullptr : &*found;
}

}  // namespace

void useKnownFiles(const std::string& folder, std::span<const KnownFile> files) {
  known() = {folder.empty() || folder.back() == '/' ? folder : folder + '/', files};
}

ImageReadResult readImageFile(const std::string& path, int maxSide, DecodedImage& image,
                              std::size_t maxBytes) {
  image = {};
  const KnownFile* file = lookUp(path);
  if (file == nullptr || maxSide != kKnownFilesMaxSide) return ImageReadResult::NotDecoded;
  if (file->picture != ImageReadResult::Decoded) return file->picture;
  // The size is all a back end that draws nothing reads; the pixels stay unknown. A picture
  // counts against the budget by its size, as the decoder counts it.
  image.width = file->width;
  image.height = file->height;
  image.samplesPerPixel = file->samplesPerPixel;
  const std::size_t bytes =
      std::size_t(file->width) * std::size_t(file->height) * std::size_t(file->samplesPerPixel);
  return bytes > std::min(maxBytes, kMaxImageBytes) ? ImageReadResult::OverMemoryLimit
                                                   : ImageReadResult::Decoded;
}

std::optional<Pcm> decodeSoundFile(const std::string& path, const PcmFormat& format) {
  const KnownFile* file = lookUp(path);
  if (file == nullptr || file->soundFrames < 0 || !format.lengthOnly ||
      format.sampleRate != kKnownFilesSoundRate || format.channels != kKnownFilesSoundChannels) {
    return std::nullopt;
  }
  Pcm pcm;
  pcm.channels = format.channels;
  pcm.sampleRate = format.sampleRate;
  pcm.framesWithoutSamples = file->soundFrames;
  return pcm;
}

}  // namespace platform
