#include "chart/preference_file.h"

namespace chart {

std::optional<nlohmann::json> parsePreferences(std::string_view contents) {
  if (contents.size() > kMaxPreferenceFileBytes) return std::nullopt;
  // Values below the depth limit are dropped as they are read, so a deep file costs no memory
  // beyond the parser's own stack of levels.
  bool tooDeep = false;
  const nlohmann::json::parser_callback_t limitDepth =
      [&tooDeep](int depth, nlohmann::json::parse_event_t, nlohmann::json&) {
        if (std::size_t(depth) <= kMaxPreferenceDepth) return true;
        tooDeep = true;
        return false;
      };
  nlohmann::json parsed = nlohmann::json::parse(contents, limitDepth, false);
  if (tooDeep || parsed.is_discarded() || !parsed.is_object()) return std::nullopt;
  return parsed;
}

}  // namespace chart
