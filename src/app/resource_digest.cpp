#include "app/resource_digest.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "charts/game_charts.h"

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
  std::uint64_t hash = kFnvOffset;
  std::vector<char> chunk(std::size_t(1) << 16);
  // Sorted, as the folder's listing was when every file in it was hashed: a folder holding just
  // these files keeps the digest it had then.
  for (const std::string& name : loadedResourceNames()) {
    const fs::path file = fs::path(folder) / name;
    std::error_code error;
    if (!fs::is_regular_file(file, error)) continue;
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
