// Fatal errors end the process with status 1 and nothing after them runs.
#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>

#include "app/startup_check.h"
#include "engine/kiv_alert.h"

namespace {

// The pattern ends at the end of stderr: nothing was written after the message.
TEST(FatalAlertDeathTest, EndsWithStatusOneAndTheMessageAsGiven) {
  EXPECT_EXIT(
      {
        KivAlert::share().setQuitAlert("Sound file \"50%s.m4a\" is 100% missing");
        std::fprintf(stderr, "ran on after the alert\n");
      },
      ::testing::ExitedWithCode(1), "Error: Sound file \"50%s.m4a\" is 100% missing\n$");
}

TEST(StartupCheckDeathTest, OpenGL13EndsTheProgram) {
  EXPECT_EXIT(
      {
        checkOpenGLVersion(1, 3);
        std::fprintf(stderr, "started anyway\n");
      },
      ::testing::ExitedWithCode(1), "Error: This Application requires OpenGL 1.4 or newer.\n$");
}

TEST(StartupCheck, AcceptsOpenGL14AndNewer) {
  for (const auto& [major, minor, supported] :
       {std::tuple{1, 3, false}, {0, 9, false}, {1, 4, true}, {2, 0, true}, {4, 6, true}}) {
    EXPECT_EQ(openGLVersionSupported(major, minor), supported) << major << "." << minor;
  }
}

}  // namespace
