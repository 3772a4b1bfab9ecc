// Feeds arbitrary bytes to the replay reader. A replay either reads, and then writes out as text
// that reads back to the same replay, or is refused with a message naming the line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "app/replay_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::string error;
  const auto replay = parseReplay(in, "fuzz.replay", error);
  if (!replay) {
    if (!error.starts_with("fuzz.replay:")) std::abort();
    return 0;
  }
  const std::string written = formatReplay(*replay);
  std::istringstream again(written);
  const auto reread = parseReplay(again, "again", error);
  if (!reread || formatReplay(*reread) != written) std::abort();
  return 0;
}
