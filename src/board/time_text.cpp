#include "board/time_text.h"

#include <cstdio>
#include <ctime>

namespace board {

std::string timeText(int centiseconds) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d.%02d", centiseconds / 6000,
                centiseconds / 100 % 60, centiseconds % 100);
  return text;
}

std::string dateText(std::int64_t seconds) {
  if (seconds == 0) return {};
  const std::time_t time = seconds;
  std::tm utc{};
  gmtime_r(&time, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

}  // namespace board
