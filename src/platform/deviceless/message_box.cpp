// Alerts in a program without a display: the message on stderr is all there is.
#include "platform/message_box.h"

#include <unistd.h>

namespace platform {

namespace {

bool quiet = false;

}  // namespace

void quietAlerts() { quiet = true; }

bool showModalMessage(const std::string&, const std::string&, const std::string&) {
  return false;
}

void beep() {
  if (!quiet && isatty(STDERR_FILENO)) {
    const char bell = '\a';
    [[maybe_unused]] ssize_t written = write(STDERR_FILENO, &bell, 1);
  }
}

}  // namespace platform
