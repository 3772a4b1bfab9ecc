// The quit signals: taken as the quit command, a repeat sent at once is the same request, and one
// sent later ends the process without waiting for the game.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include "platform/events.h"

namespace {

// Each case runs in a child of its own: the handlers are the process's.
TEST(QuitSignals, ARepeatAtOnceIsOneRequestAndALaterOneEndsTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (const int signal : {SIGHUP, SIGINT, SIGQUIT, SIGTERM}) {
    // Sent to the program and to its group, as timeout(1) does: the game still quits itself.
    EXPECT_EXIT(
        {
          platform::catchQuitSignals();
          raise(signal);
          raise(signal);
          platform::Event event;
          _exit(platform::quitBySignal(event) && platform::quitSignal() == signal &&
                        event.command == platform::Command::Quit
                    ? 7
                    : 1);
        },
        testing::ExitedWithCode(7), "")
        << signal;
  }
  EXPECT_EXIT(
      {
        platform::catchQuitSignals();
        raise(SIGTERM);
        sleep(2);
        raise(SIGINT);
        _exit(1);
      },
      testing::ExitedWithCode(128 + SIGINT), "");
  EXPECT_EXIT(
      {
        platform::catchQuitSignals();
        platform::exitOnQuitSignal();
        raise(SIGHUP);
        _exit(1);
      },
      testing::ExitedWithCode(128 + SIGHUP), "");
}

}  // namespace
