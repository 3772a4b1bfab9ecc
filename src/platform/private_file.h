// A small file only its owner may read: the player's secret for the board.
#pragma once

#include <string>

namespace platform {

// Creates `path` (it must not exist) with mode 0600 and writes `contents`. Returns 0 or errno.
int createPrivateFile(const std::string& path, const std::string& contents);

}  // namespace platform
