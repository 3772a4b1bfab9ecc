#pragma once

#include <filesystem>
#include <vector>

// A sound file decoded with libavformat and libavcodec into interleaved float samples.
struct DecodedSound {
  int sampleRate = 0;
  int channels = 0;
  double containerSeconds = 0.0;  // the length the file states
  std::vector<float> samples;

  std::size_t frames() const {
    return channels == 0 ? 0 : samples.size() / static_cast<std::size_t>(channels);
  }
  double decodedSeconds() const { return static_cast<double>(frames()) / sampleRate; }
};

// Throws std::runtime_error when the file cannot be decoded.
DecodedSound decodeSound(const std::filesystem::path& file);
