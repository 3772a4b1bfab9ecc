// The contents of a preferences file: what is accepted as the user's stored values.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include <nlohmann/json.hpp>

namespace chart {

// The game stores numbers, texts and lists of them: a file of a few kilobytes. A file over this
// size is not a preferences file, and reading it whole would only cost memory.
inline constexpr std::size_t kMaxPreferenceFileBytes = std::size_t(1) * 1024 * 1024;
// The game's own values are two levels deep. Deeper nesting is not a preferences file: a save
// indents every line by its level, so a small, deeply nested file would be written back as
// gigabytes.
inline constexpr std::size_t kMaxPreferenceDepth = 16;

// The JSON object in `contents`, or nothing when `contents` is too large, not JSON, nested too
// deeply or not an object.
std::optional<nlohmann::json> parsePreferences(std::string_view contents);

}  // namespace chart
