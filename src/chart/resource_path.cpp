#include "chart/resource_path.h"

#include "chart/data.h"
#include "platform/files.h"

namespace chart {

namespace {

// "~" and "~/..." are the user's home folder, "~name/..." that of the user `name`.
std::optional<std::string> expandTilde(std::string_view path) {
  const std::size_t slash = path.find('/');
  const std::string_view user = path.substr(1, slash == std::string_view::npos ? path.npos : slash - 1);
  const std::string_view rest = slash == std::string_view::npos ? "" : path.substr(slash);
  const std::string home = user.empty() ? platform::homeFolder()
                                        : platform::homeFolderOf(std::string(user));
  if (home.empty()) return std::nullopt;
  return home + std::string(rest);
}

}  // namespace

std::optional<std::string> resourceFilePath(std::string_view name) {
  if (name.empty()) return std::nullopt;
  if (name.front() == '/') return std::string(name);
  if (name.front() == '~') return expandTilde(name);
  return chart::Data::share().resourcePath() + "/kivResources/" + std::string(name);
}

}  // namespace chart
