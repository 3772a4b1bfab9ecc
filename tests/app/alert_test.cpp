// Fatal errors end the process with status 1 and nothing after them runs.
#include <gtest/gtest.h>

#include <cstdio>

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
  EXPECT_FALSE(openGLVersionSupported(1, 3));
  EXPECT_FALSE(openGLVersionSupported(0, 9));
  EXPECT_TRUE(openGLVersionSupported(1, 4));
  EXPECT_TRUE(openGLVersionSupported(2, 0));
  EXPECT_TRUE(openGLVersionSupported(4, 6));
}

}  // namespace
