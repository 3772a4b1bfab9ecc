// Feeds arbitrary bytes to the preferences parser, then writes back what it accepted as a save
// does and reads that again: whatever the game loads, it must be able to store and reload.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "chart/preference_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view contents(reinterpret_cast<const char*>(data), size);
  const auto values = chart::parsePreferences(contents);
  if (!values) return 0;
  // The same call as the store's save.
  const std::string saved =
      values->dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
  const auto reloaded = chart::parsePreferences(saved);
  if (!reloaded || *reloaded != *values) std::abort();
  return 0;
}
