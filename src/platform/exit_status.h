// The exit status of a program whose command line, or a file it names, is refused.
#pragma once

namespace platform {

inline constexpr int kExitUsage = 2;

}  // namespace platform
