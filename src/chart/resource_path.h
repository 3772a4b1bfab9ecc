// Where a picture or sound named by a chart is: a name beginning with "/" is a path as it is, one
// beginning with "~" is in a home folder, anything else is a file in the game's `kivResources`.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace chart {

// The path for `name`, or nothing when none results: an empty name, or a home folder that
// cannot be found.
std::optional<std::string> resourceFilePath(std::string_view name);

}  // namespace chart
