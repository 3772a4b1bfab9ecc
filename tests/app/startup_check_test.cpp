// OpenGL older than 1.4 ends the program with status 1, and nothing after the message runs.
#include "app/startup_check.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>

namespace {

TEST(StartupCheckDeathTest, OpenGLBefore14EndsTheProgram) {
  for (const auto& [major, minor, supported] :
       {std::tuple{1, 3, false}, {0, 9, false}, {1, 4, true}, {2, 0, true}, {4, 6, true}}) {
    EXPECT_EQ(openGLVersionSupported(major, minor), supported) << major << "." << minor;
  }
  EXPECT_EXIT(
      {
        checkOpenGLVersion(1, 3);
        std::fprintf(stderr, "started anyway\n");
      },
      ::testing::ExitedWithCode(1), "Error: This Application requires OpenGL 1.4 or newer.\n$");
}

}  // namespace
