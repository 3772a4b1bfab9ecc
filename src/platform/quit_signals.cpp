// The signal part of the events: the signals that end a program from outside, taken as the
// quit command.
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <csignal>

#include "platform/events.h"

namespace platform {

namespace {

volatile std::sig_atomic_t caught = 0;
volatile std::sig_atomic_t exitAtOnce = 0;
// When the first quit signal came, in whole seconds of the monotonic clock.
volatile std::sig_atomic_t caughtAtSecond = 0;

constexpr int kQuitSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};

std::sig_atomic_t monotonicSecond() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::sig_atomic_t>(now.tv_sec);
}

void onQuitSignal(int signal) {
  // Everything is written while the fatal alert waits: any signal ends the process now.
  if (exitAtOnce != 0) _exit(128 + signal);
  if (caught == 0) {
    caught = signal;
    caughtAtSecond = monotonicSecond();
    return;
  }
  // A signal repeated in the same moment is the same request: senders such as timeout(1) signal
  // the program and then its process group. One sent over a second later insists, and ends the
  // process now.
  if (monotonicSecond() - caughtAtSecond >= 2) _exit(128 + signal);
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
