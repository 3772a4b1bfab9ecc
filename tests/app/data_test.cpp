#include <gtest/gtest.h>

#include <chrono>

#include "chart/data.h"

namespace {

using namespace std::chrono_literals;

TEST(Data, SkipBracketsAddUpWithinAFrameAndRestartWithTheNext) {
  Data& data = Data::share();
  const Data::Date frameStart = Data::Date::clock::now();
  data.setTimeDate(frameStart);
  EXPECT_EQ(data.totalSkipDateSeconds(), 0.0f);

  data.startTimeSkip(frameStart + 250ms);
  EXPECT_FLOAT_EQ(data.skipDateSeconds(), 0.25f);
  data.endTimeSkip(frameStart + 750ms);
  EXPECT_FLOAT_EQ(data.totalSkipDateSeconds(), 0.5f);

  data.addTime();
  EXPECT_EQ(data.skipDateSeconds(), 0.0f);
  data.startTimeSkip(frameStart + 1000ms);
  data.endTimeSkip(frameStart + 1125ms);
  EXPECT_FLOAT_EQ(data.totalSkipDateSeconds(), 0.625f);

  // Intervals count as magnitudes, even for a time before the timestamp.
  data.addTime();
  data.startTimeSkip(frameStart - 100ms);
  EXPECT_FLOAT_EQ(data.skipDateSeconds(), 0.1f);

  data.setTimeDate(frameStart + 2s);
  EXPECT_EQ(data.totalSkipDateSeconds(), 0.0f);
}

}  // namespace
