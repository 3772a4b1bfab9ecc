// Where the program itself lives.
#pragma once

#include <string>

namespace platform {

// The directory holding the running executable, ending in "/"; empty when unknown.
std::string executableDirectory();

}  // namespace platform
