#include "app/resource_digest.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

constexpr std::uint64_t kFnvOffset = 0xcbf29ce484222325ull;
constexpr std::uint64_t kFnvPrime = 0x100000001b3ull;

void mix(std::uint64_t& hash, const char* bytes, std::size_t size) {
  for (std::size_t at = 0; at < size; ++at) {
    hash = (hash ^ std::uint8_t(bytes[at])) * kFnvPrime;
  }
}

}  // namespace

std::string resourceDigest(const std::string& folder) {
  namespace fs = std::filesystem;
  std::vector<fs::path> files;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    if (entry.is_regular_file(error)) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  std::uint64_t hash = kFnvOffset;
  std::vector<char> chunk(std::size_t(1) << 16);
  for (const fs::path& file : files) {
    const std::string name = file.filename().string();
    mix(hash, name.c_str(), name.size() + 1);
    std::ifstream in(file, std::ios::binary);
    while (in.read(chunk.data(), std::streamsize(chunk.size())) || in.gcount() > 0) {
      mix(hash, chunk.data(), std::size_t(in.gcount()));
    }
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}
