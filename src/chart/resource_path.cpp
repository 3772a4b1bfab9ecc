#include "chart/resource_path.h"

#include "platform/paths.h"

namespace chart {

std::optional<std::string> resourceFilePath(std::string_view name,
                                            const std::string& resourceFolder) {
  if (name.starts_with('/')) return std::string(name);
  if (name.starts_with('~')) {
    const std::size_t slash = name.find('/');
    const std::string_view user =
        name.substr(1, slash == std::string_view::npos ? slash : slash - 1);
    const std::optional<std::string> home = platform::homeDirectory(user);
    if (!home) return std::nullopt;
    return *home + std::string(name.substr(std::min(slash, name.size())));
  }
  if (resourceFolder.empty()) return std::nullopt;
  return resourceFolder + "/kivResources/" + std::string(name);
}

}  // namespace chart
