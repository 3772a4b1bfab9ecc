// The signal part of the events: the signals that end a program from outside, taken as the
// quit command.
#include <signal.h>
#include <unistd.h>

#include <csignal>

#include "platform/events.h"

namespace platform {

namespace {

volatile std::sig_atomic_t caught = 0;
volatile std::sig_atomic_t exitAtOnce = 0;

constexpr int kQuitSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};

void onQuitSignal(int signal) {
  // A second signal, or one while the fatal alert waits, ends the process now.
  if (caught != 0 || exitAtOnce != 0) _exit(128 + signal);
  caught = signal;
}

}  // namespace

void catchQuitSignals() {
  struct sigaction action {};
  action.sa_handler = onQuitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : kQuitSignals) sigaction(signal, &action, nullptr);
}

int quitSignal() { return caught; }

bool quitBySignal(Event& event) {
  if (caught == 0) return false;
  event = {};
  event.type = Event::Type::Command;
  event.command = Command::Quit;
  return true;
}

void exitOnQuitSignal() { exitAtOnce = 1; }

}  // namespace platform
