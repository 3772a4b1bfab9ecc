// `Menus` in the game's tree with the real logos, scenery, camera and sounds; the stats screen,
// the time display and the run are stand-ins that count their updates, and the test sends the
// exit signals that the stats screen and the time display would send.
#include <functional>

#include "engine/kiv_audio.h"
#include "game_tree.h"

namespace {

using namespace chart_tree;

// The time display's stand-in also keeps what it read: the text and the height of the line,
// and the text as its first update saw it.
chart::ChartSource standInWord() {
  using namespace chart;
  using enum Command;
  return countingStandIn(
      "Word", {"gvWord", "gvYLetter", "firstWord"},
      {{"trunk0_3", run(Global_variable_receive, {"EMPTY"}, "gvWord"), "trunk0_4"},
       {"trunk0_4", run(Global_variable_receive, {"EMPTY"}, "gvYLetter"), "trunk0_5"},
       {"trunk0_5", decide("firstWord", "==", "EMPTY"), "branch0_2", endOfPass},
       {"branch0_2", run(Text_add, {"gvWord"}, "firstWord"), endOfPass}});
}

class MenusChart : public GameTree {
 protected:
  MenusChart()
      : GameTree({countingStandIn("Stats", {}), standInWord(), countingStandIn("Game", {})}) {}

  const chart::Chart& menus() const { return *child(start(), "menus"); }
  std::string screen() const { return text(menus(), "menu"); }
  const chart::Chart* held(std::string_view cellName) const { return child(menus(), cellName); }
  float updates(std::string_view cellName) const { return number(*held(cellName), "updates"); }

  Sound& sound(std::string_view cellName) const {
    return *KivAudio::share().sound(std::int32_t(number(menus(), cellName)));
  }

  // Runs frames until `done` holds, at most `limit`; the number of frames run.
  int framesUntil(const std::function<bool()>& done, int limit) {
    int count = 0;
    while (!done() && count < limit) {
      frames(1);
      ++count;
    }
    return count;
  }

  // From the first frame to the first frame of the stats screen that updates `Stats`.
  void throughTheLogos() {
    frames(1);
    framesUntil([&] { return screen() == "Stats"; }, 1000);
    frames(2);
  }
  // A run from the click to its end, `length` frames long.
  void aRun(int length) {
    sendGlobal("gvExitStats", 1.0f);
    frames(1 + length);
    sendGlobal("gvExitGame", 1.0f);
    frames(1);
  }
};

TEST_F(MenusChart, TheLogosRunFromTheFirstFrameUntilTheySayTheyAreDone) {
  frames(1);
  EXPECT_EQ(screen(), "Logo");
  ASSERT_NE(held("logosObj"), nullptr);
  EXPECT_EQ(held("logosObj")->chartName(), "Logos");
  EXPECT_FLOAT_EQ(number(*held("logosObj"), "totalTime"), float(kStep));  // updated already
  EXPECT_EQ(text(menus(), "sound"), "Death2.m4a");
  EXPECT_FALSE(sound("soundNum").isPlaying());
  EXPECT_TRUE(isEmpty(menus(), "musicNum"));

  const int logoFrames = 1 + framesUntil([&] { return held("logosObj") == nullptr; }, 1000);
  // Six seconds of 0.01 s frames, give or take the float sum's last step.
  EXPECT_NEAR(logoFrames, 600, 1);
  EXPECT_EQ(screen(), "Stats");
  EXPECT_EQ(global("gvExitLogos")->number, 1.0f);
  EXPECT_EQ(held("backObj"), nullptr);
  EXPECT_TRUE(isEmpty(menus(), "musicNum"));
}

TEST_F(MenusChart, TheFirstStatsFrameStartsTheMusicAndCreatesOnlyTheScenery) {
  frames(1);
  framesUntil([&] { return screen() == "Stats"; }, 1000);
  frames(1);
  EXPECT_TRUE(sound("musicNum").isPlaying());
  ASSERT_NE(held("backObj"), nullptr);
  EXPECT_TRUE(isEmpty(*held("backObj"), "total"));  // created, not yet updated
  EXPECT_EQ(held("statsObj"), nullptr);
  const chart::Chart* const background = held("backObj");

  frames(1);
  ASSERT_NE(held("statsObj"), nullptr);
  EXPECT_EQ(updates("statsObj"), 1.0f);
  EXPECT_EQ(number(*background, "total"), 4.0f);
  frames(5);
  EXPECT_EQ(updates("statsObj"), 6.0f);
  EXPECT_EQ(held("backObj"), background);
}

TEST_F(MenusChart, ARunStartsTheFrameAfterTheClickAndTheTimeDisplayComesFirst) {
  throughTheLogos();
  const chart::Chart* const background = held("backObj");
  sendGlobal("gvExitStats", 1.0f);
  frames(1);
  EXPECT_EQ(screen(), "Game");
  EXPECT_EQ(held("statsObj"), nullptr);
  EXPECT_EQ(held("timeObj"), nullptr);
  EXPECT_EQ(held("gameObj"), nullptr);

  frames(1);
  ASSERT_NE(held("timeObj"), nullptr);
  ASSERT_NE(held("gameObj"), nullptr);
  EXPECT_EQ(updates("timeObj"), 2.0f);  // once on creation, once after `Game`
  EXPECT_EQ(updates("gameObj"), 1.0f);
  EXPECT_EQ(text(*held("timeObj"), "firstWord"), "TIME 00:00.00");
  EXPECT_EQ(number(*held("timeObj"), "gvYLetter"), -10.0f);
  // The text sent is emptied once the display has read it.
  EXPECT_EQ(text(*held("timeObj"), "gvWord"), "");
  EXPECT_EQ(held("backObj"), background);

  frames(3);
  EXPECT_EQ(updates("timeObj"), 5.0f);
  EXPECT_EQ(updates("gameObj"), 4.0f);
}

TEST_F(MenusChart, TheEndOfARunRewindsTheDeathSoundAndEmptiesTheGlobals) {
  throughTheLogos();
  const chart::Chart* const background = held("backObj");
  const float music = number(menus(), "musicNum");
  sendGlobal("gvExitStats", 1.0f);
  frames(3);
  sound("soundNum").setCurrentTime(1.0);  // as if still playing from the last run
  ASSERT_GT(sound("soundNum").currentTime(), 0.5);
  sendGlobal("gvExitGame", 1.0f);
  frames(1);
  EXPECT_EQ(screen(), "Stats");
  EXPECT_EQ(held("timeObj"), nullptr);
  EXPECT_EQ(held("gameObj"), nullptr);
  EXPECT_TRUE(sound("soundNum").isPlaying());
  EXPECT_LT(sound("soundNum").currentTime(), 0.5);
  EXPECT_EQ(Data::share().globalVariableDictionary().size(), 1u);
  ASSERT_NE(global("gvRestart"), nullptr);
  EXPECT_EQ(global("gvRestart")->number, 1.0f);
  EXPECT_EQ(held("statsObj"), nullptr);

  // The next frame: the camera is back, a fresh `Stats` runs, the music plays on.
  frames(1);
  EXPECT_EQ(global("gvRestart"), nullptr);
  EXPECT_NE(global("gvCamera"), nullptr);
  ASSERT_NE(held("statsObj"), nullptr);
  EXPECT_EQ(updates("statsObj"), 1.0f);
  EXPECT_EQ(held("backObj"), background);
  EXPECT_EQ(number(menus(), "musicNum"), music);
  EXPECT_TRUE(sound("musicNum").isPlaying());
}

TEST_F(MenusChart, ASecondRunShowsTheSameTimeText) {
  throughTheLogos();
  aRun(3);
  frames(1);
  sendGlobal("gvExitStats", 1.0f);
  frames(2);
  ASSERT_NE(held("timeObj"), nullptr);
  EXPECT_EQ(text(*held("timeObj"), "firstWord"), "TIME 00:00.00");
}

TEST_F(MenusChart, OnlyTheNumberOneEndsTheLogos) {
  sendGlobal("gvExitLogos", 0.0f);
  frames(5);
  EXPECT_EQ(screen(), "Logo");
  sendGlobal("gvExitLogos", u"1");
  frames(5);
  EXPECT_EQ(screen(), "Logo");
  sendGlobal("gvExitLogos", 2.0f);
  frames(5);
  EXPECT_EQ(screen(), "Logo");
  ASSERT_NE(held("logosObj"), nullptr);
  EXPECT_FLOAT_EQ(number(*held("logosObj"), "totalTime"), 15 * float(kStep));

  sendGlobal("gvExitLogos", 1.0f);
  frames(1);
  EXPECT_EQ(screen(), "Stats");
  EXPECT_EQ(held("logosObj"), nullptr);
}

}  // namespace
