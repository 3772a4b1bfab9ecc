// Times and dates as the board shows them.
#pragma once

#include <cstdint>
#include <string>

namespace board {

// "MM:SS.CC" from hundredths of a second.
std::string timeText(int centiseconds);
// "YYYY-MM-DDTHH:MM:SSZ" from seconds since 1970; empty for 0.
std::string dateText(std::int64_t seconds);

}  // namespace board
