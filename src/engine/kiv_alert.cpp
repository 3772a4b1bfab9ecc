#include "engine/kiv_alert.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "platform/events.h"
#include "platform/message_box.h"

namespace engine {

KivAlert& KivAlert::share() {
  static KivAlert instance;
  return instance;
}

void KivAlert::setQuitAlert(std::string_view message) {
  // A modal box cannot be seen over the full-screen view: go back to the window first.
  if (fullScreenExit_ != nullptr) fullScreenExit_->leaveFullScreen();
  const std::string text(message);
  if (throwsForTests) throw FatalAlert(text);

  platform::beep();
  std::fprintf(stderr, "Error: %s\n", text.c_str());
  std::fflush(stderr);
  // Taken out first: an alert raised on the way out does not run it again.
  if (const std::function<void()> wayOut = std::exchange(beforeExit, nullptr)) wayOut();
  // From here a quit signal ends the process at once: there is nothing left to write.
  platform::exitOnQuitSignal();
  platform::showModalMessage("Error", text, "Quit");

  // Charts and services are not torn down: an alert can come from deep inside a chart's
  // teardown, and running the remaining destructors there could fail again. End at once.
  std::fflush(nullptr);
  std::_Exit(1);
}

}  // namespace engine
