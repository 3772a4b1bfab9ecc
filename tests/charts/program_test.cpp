// The whole program, headless with 0.01 s frames: what its last frame shows after the splash's
// first picture, its second, and on the stats screen, in a 3 : 2 window and in others.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/picture.h"
#include "support/run_program.h"

namespace {

Picture screenshotAfter(int frames, const std::string& size = "") {
  const std::string png =
      ::testing::TempDir() + "aloft-" + std::to_string(frames) + "-" + size + ".png";
  std::remove(png.c_str());
  std::vector<std::string> arguments = {"--headless", "--fixed-step", "0.01", "--frames",
                                        std::to_string(frames), "--screenshot", png};
  if (!size.empty()) arguments.insert(arguments.end(), {"--size", size});
  const ProgramResult result = runProgram(gameBinary(), arguments);
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  auto picture = readPng(png);
  EXPECT_TRUE(picture) << png;
  return picture ? *picture : Picture{};
}

// Rows of the picture by their height above the middle, as a fraction of half the height.
int rowAt(const Picture& picture, double fromMiddle) {
  return int(picture.height / 2.0 * (1 + fromMiddle));
}
// Lit pixels in the band of rows between two heights above the middle.
int litBetween(const Picture& picture, double low, double high) {
  return picture.litIn(0, rowAt(picture, low), picture.width, rowAt(picture, high));
}

// The first picture, eight units wide at depth 5, reaches 36 % of the way from the middle to
// the top; the second, four wide at depth 3, 60 %.
TEST(Program, TheSplashShowsTheFirstPictureThenTheSecond) {
  const Picture first = screenshotAfter(100);
  ASSERT_GT(first.width, 0);
  EXPECT_GT(litBetween(first, -0.3, 0.3), 1000);
  EXPECT_EQ(litBetween(first, 0.4, 1.0), 0);
  EXPECT_EQ(litBetween(first, -1.0, -0.4), 0);
  // The picture's transparent parts are drawn without blending: the screenshot shows them as
  // the screen does, opaque, not as holes.
  for (std::size_t alpha = 3; alpha < first.rgba.size(); alpha += 4) {
    ASSERT_EQ(first.rgba[alpha], 255) << "pixel " << alpha / 4;
  }

  const Picture second = screenshotAfter(450);
  ASSERT_GT(second.width, 0);
  EXPECT_GT(litBetween(second, 0.4, 0.6), 1000);
  EXPECT_EQ(litBetween(second, 0.65, 1.0), 0);
}

// From the camera's starting place the floor fills the picture up to just above the middle and
// the sky wall the rest.
TEST(Program, TheStatsScreenShowsGrassBelowAndSkyAbove) {
  const Picture scenery = screenshotAfter(700);
  ASSERT_GT(scenery.width, 0);
  const Picture::Colour grass = scenery.meanIn(0, 0, scenery.width, rowAt(scenery, -0.5));
  EXPECT_GT(grass.green, grass.red + 20);
  EXPECT_GT(grass.green, grass.blue + 20);
  const Picture::Colour sky =
      scenery.meanIn(0, rowAt(scenery, 0.5), scenery.width, scenery.height);
  EXPECT_GT(sky.blue, sky.red + 20);
  EXPECT_GT(sky.blue, 150);
}

// 800 × 600 keeps an 800 × 533 picture with bars of 33 pixels above and below; 1000 × 500 a
// 750 × 500 one with bars of 125 on each side.
TEST(Program, AWindowOfAnotherShapeGetsBars) {
  const Picture tall = screenshotAfter(700, "800x600");
  ASSERT_EQ(tall.width, 800);
  ASSERT_EQ(tall.height, 600);
  EXPECT_EQ(tall.litIn(0, 0, 800, 33), 0);
  EXPECT_EQ(tall.litIn(0, 566, 800, 600), 0);
  EXPECT_EQ(tall.litIn(0, 33, 800, 34), 800);
  EXPECT_EQ(tall.litIn(0, 565, 800, 566), 800);

  const Picture wide = screenshotAfter(700, "1000x500");
  ASSERT_EQ(wide.width, 1000);
  EXPECT_EQ(wide.litIn(0, 0, 125, 500), 0);
  EXPECT_EQ(wide.litIn(875, 0, 1000, 500), 0);
  EXPECT_EQ(wide.litIn(125, 0, 126, 500), 500);
  EXPECT_EQ(wide.litIn(874, 0, 875, 500), 500);
}

}  // namespace
