#include "wav_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace resgen {

namespace {

// WAV numbers are little-endian whatever the machine.
void putLittleEndian(std::vector<char>& bytes, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void putText(std::vector<char>& bytes, const char* text) {
  for (int i = 0; i < 4; ++i) bytes.push_back(text[i]);
}

std::int16_t toPcm16(float sample) {
  return static_cast<std::int16_t>(std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f));
}

}  // namespace

void writeWav(const std::filesystem::path& path, const SoundBuffer& sound) {
  constexpr std::uint32_t channels = 2, bytesPerSample = 2;
  const auto dataBytes = static_cast<std::uint32_t>(sound.frames() * channels * bytesPerSample);

  std::vector<char> bytes;
  bytes.reserve(44 + dataBytes);
  putText(bytes, "RIFF");
  putLittleEndian(bytes, 36 + dataBytes, 4);
  putText(bytes, "WAVE");
  putText(bytes, "fmt ");
  putLittleEndian(bytes, 16, 4);
  putLittleEndian(bytes, 1, 2);  // integer PCM
  putLittleEndian(bytes, channels, 2);
  putLittleEndian(bytes, kSampleRate, 4);
  putLittleEndian(bytes, kSampleRate * channels * bytesPerSample, 4);
  putLittleEndian(bytes, channels * bytesPerSample, 2);
  putLittleEndian(bytes, 8 * bytesPerSample, 2);
  putText(bytes, "data");
  putLittleEndian(bytes, dataBytes, 4);
  for (std::size_t i = 0; i < sound.frames(); ++i) {
    putLittleEndian(bytes, static_cast<std::uint16_t>(toPcm16(sound.left()[i])), 2);
    putLittleEndian(bytes, static_cast<std::uint16_t>(toPcm16(sound.right()[i])), 2);
  }

  std::ofstream file(path, std::ios::binary);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace resgen
