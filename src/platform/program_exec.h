// Handing the process over to another program.
#pragma once

#include <string>

namespace platform {

// Replaces this process by the program at `path`, run with the arguments `argv` (null-ended,
// the program's name first) and the same environment, open files and signal dispositions.
// Returns only when that fails, with the reason.
std::string replaceProcess(const std::string& path, char** argv);

}  // namespace platform
