// The file a chart names for a picture or a sound.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace chart {

// A name beginning with "/" is used as it is; one beginning with "~" has the home directory put
// in its place ("~/x", or "~user/x" for another user's); any other name is a file in
// `kivResources` inside `resourceFolder`. None when no path results: a home directory that
// cannot be found, or a bare name while there is no resource folder.
std::optional<std::string> resourceFilePath(std::string_view name,
                                            const std::string& resourceFolder);

}  // namespace chart
