#include "run_charts_test_support.h"

namespace chart::testing {
namespace {

class StatsTest : public RunChartsTest {
 protected:
  void SetUp() override {
    RunChartsTest::SetUp();
    use({statsChart(), wordChart(), lettersChart()});
  }

  // Each label's text and height, top to bottom.
  std::vector<std::pair<std::string, float>> labels(Chart& stats) {
    std::vector<std::pair<std::string, float>> found;
    for (Chart* word : children(stats, "statsWords")) {
      const std::vector<Chart*> letters = children(*word, "letters");
      found.emplace_back(text(*word, "gvWord"),
                         letters.empty() ? -99.0f : cell(*letters[0], "gvYLetter").math);
    }
    return found;
  }
};

using Labels = std::vector<std::pair<std::string, float>>;

TEST_F(StatsTest, NothingStoredShowsNoneForBothModes) {
  Chart& stats = make("Stats");
  frames(stats, 1);
  EXPECT_EQ(labels(stats), (Labels{{"HARD", 7.5f},
                                   {"TIME NONE", 2.5f},
                                   {"EASY", -2.5f},
                                   {"TIME NONE", -7.5f}}));
  EXPECT_EQ(toUtf8(global("gvWord")->text->units), "TIME NONE");
  EXPECT_EQ(global("gvYLetter")->number, -7.5f);
}

TEST_F(StatsTest, StoredTimesAreShownAsMinutesSecondsHundredths) {
  store("Hard", {0, 1, 2, 3, 4, 5});
  store("Easy", {0, 0, 0, 0, 0, 0});
  Chart& stats = make("Stats");
  frames(stats, 3);
  EXPECT_EQ(labels(stats), (Labels{{"HARD", 7.5f},
                                   {"TIME 01:23.45", 2.5f},
                                   {"EASY", -2.5f},
                                   {"TIME 00:00.00", -7.5f}}));
}

TEST_F(StatsTest, AStoredListShorterThanSixIsFatal) {
  store("Easy", {0, 1, 2});
  Chart& stats = make("Stats");
  EXPECT_EQ(alertOf([&] { frames(stats, 1); }),
            "There is an error in a Chart Object named: Stats\n"
            "The error is inside a function named: Object_selected_object\n"
            "The variable with the function is named: easyPrefs\n"
            "The index of 3 is outside a valid index of 0 to 2.");
}

// Window points (480 x 320, origin top left) over the HARD panel, over the EASY panel, and
// between them.
constexpr int kMiddleX = 240, kHardY = 52, kEasyY = 196, kBetweenY = 124;

TEST_F(StatsTest, ALeftPressOverAPanelChoosesItsMode) {
  for (const auto& [y, mode] : {std::pair{kHardY, "Hard"}, std::pair{kEasyY, "Easy"}}) {
    SCOPED_TRACE(mode);
    globals().removeAll();
    Chart& stats = make("Stats");
    frame(stats);
    platform::pushMouseMove(kMiddleX, y);
    platform::pushMouseButton(platform::MouseButton::Left, true, kMiddleX, y);
    frame(stats);
    ASSERT_NE(global("gvGameType"), nullptr);
    EXPECT_EQ(toUtf8(global("gvGameType")->text->units), mode);
    ASSERT_NE(global("gvExitStats"), nullptr);
    EXPECT_EQ(global("gvExitStats")->number, 1.0f);
    platform::pushMouseButton(platform::MouseButton::Left, false, kMiddleX, y);
  }
}

TEST_F(StatsTest, OnlyALeftPressOverAPanelCounts) {
  Chart& stats = make("Stats");
  frame(stats);
  using platform::MouseButton;
  platform::pushMouseMove(kMiddleX, kBetweenY);
  platform::pushMouseButton(MouseButton::Left, true, kMiddleX, kBetweenY);
  frame(stats);
  platform::pushMouseButton(MouseButton::Left, false, kMiddleX, kBetweenY);
  platform::pushMouseMove(kMiddleX, kHardY);
  frame(stats);
  platform::pushMouseButton(MouseButton::Right, true, kMiddleX, kHardY);
  frame(stats);
  platform::pushMouseButton(MouseButton::Right, false, kMiddleX, kHardY);
  frame(stats);
  for (int resting = 0; resting < 100; ++resting) frame(stats);
  EXPECT_EQ(global("gvGameType"), nullptr);
  EXPECT_EQ(global("gvExitStats"), nullptr);
}

}  // namespace
}  // namespace chart::testing
