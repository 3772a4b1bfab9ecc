// Feeds arbitrary bytes to the `--script` parser. A script either parses into events the game
// can deliver, or is refused with a message naming the line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "app/input_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::string error;
  const auto script = InputScript::parse(in, "fuzz.txt", error);
  if (!script) {
    if (!error.starts_with("fuzz.txt:")) std::abort();
    return 0;
  }
  // Events come out ordered by frame, each at frame 1 or later.
  std::int64_t previous = 1;
  for (const ScriptEvent& event : script->events()) {
    if (event.frame < previous) std::abort();
    previous = event.frame;
  }
  return 0;
}
