// The single way the game reports an error: it leaves full screen, beeps, writes the message to
// stderr, writes what the game keeps in memory (`setBeforeExit`), shows the message in a modal
// "Error" box with one button "Quit" and ends the process with exit status 1. Every error is
// fatal; nothing returns from an alert.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "engine/full_screen_exit.h"

namespace engine {

// Thrown instead of ending the process when tests ask for it, so a test can read the message
// and see that nothing ran after the alert.
class FatalAlert : public std::runtime_error {
 public:
  explicit FatalAlert(const std::string& message) : std::runtime_error(message) {}
};

class KivAlert {
 public:
  static KivAlert& share();

  // What an alert takes out of full screen (the view); null when there is none.
  void setFullScreenExit(engine::FullScreenExit* exit) { fullScreenExit_ = exit; }
  engine::FullScreenExit* fullScreenExit() const { return fullScreenExit_; }

  // Run once by an alert before its box is shown: writes the session's recording and the saves
  // still waiting, so an error loses none of them. Null for nothing.
  void setBeforeExit(std::function<void()> wayOut) { beforeExit = std::move(wayOut); }

  // Shows `message` exactly as given (it is never used as a format) and ends the run.
  [[noreturn]] void setQuitAlert(std::string_view message);

  // Test seam: when set, `setQuitAlert` leaves full screen and then throws `FatalAlert` instead
  // of beeping, showing the box and ending the process. Code that may raise an alert must
  // therefore not run it from a destructor; the chart runtime tears charts down explicitly.
  void throwInsteadOfExiting(bool enabled) { throwsForTests = enabled; }

 private:
  KivAlert() = default;

  engine::FullScreenExit* fullScreenExit_ = nullptr;
  bool throwsForTests = false;
  std::function<void()> beforeExit;
};

}  // namespace engine
