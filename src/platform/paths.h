// Where the program itself and the users' home directories live.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The directory holding the running executable, ending in "/"; empty when unknown.
std::string executableDirectory();

// The home directory of `user`, or of the user running the game when `user` is empty; none
// when there is no such user or no home is known.
std::optional<std::string> homeDirectory(std::string_view user);

}  // namespace platform
