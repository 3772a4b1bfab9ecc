#include <array>
#include <cstdio>

#include "run_charts_test_support.h"

namespace chart::testing {
namespace {

constexpr std::array<std::string_view, 6> kDigits = {"minuteL",  "minuteR",  "secondL",
                                                     "secondR",  "milisecL", "milisecR"};

class WordTest : public RunChartsTest {
 protected:
  void SetUp() override {
    RunChartsTest::SetUp();
    use({wordChart(), lettersChart()});
  }

  // A new `Word` told its text and height and updated once, as its owners make one.
  Chart& newWord(std::string_view text = "TIME 00:00.00") {
    sendText("gvWord", text);
    sendNumber("gvYLetter", -10);
    Chart& word = make("Word");
    frames(word, 1);
    return word;
  }
  // A running clock set to `time` ("mm:ss.hh"), as if it had counted there.
  Chart& runningWordAt(std::string_view time) {
    Chart& word = newWord();
    sendNumber("gvStartTime", 1);
    frames(word, 1);
    const std::string digits = {time[0], time[1], time[3], time[4], time[6], time[7]};
    for (std::size_t at = 0; at < kDigits.size(); ++at) {
      storeNumber(cell(word, kDigits[at]), float(digits[at] - '0'));
    }
    return word;
  }
  static std::string clockOf(Chart& word) {
    std::string shown;
    for (std::size_t at = 0; at < kDigits.size(); ++at) {
      shown += std::to_string(int(cell(word, kDigits[at]).math));
      if (at == 1) shown += ':';
      if (at == 3) shown += '.';
    }
    return shown;
  }
  // Stops the run in `mode` and lets `word` see it; the clock counts that frame too.
  void stop(Chart& word, std::string_view mode) {
    sendText("gvGameType", mode);
    sendNumber("gvStopTime", 1);
    frames(word, 1);
  }
};

TEST_F(WordTest, TheClockAdvancesOneHundredthPerTenMillisecondsOfFrames) {
  Chart& word = newWord();
  frames(word, 5);
  EXPECT_EQ(cell(word, "addTime").type, kEmpty) << "the clock ran without gvStartTime";
  sendNumber("gvStartTime", 1);
  frames(word, 250);
  EXPECT_EQ(clockOf(word), "00:02.50");
  Data::share().setTimeSegment(0.005f);
  frames(word, 100);
  EXPECT_EQ(clockOf(word), "00:03.00");
  Data::share().setTimeSegment(0.25f);  // a long frame still counts one hundredth
  frames(word, 1);
  EXPECT_EQ(clockOf(word), "00:03.01");
}

TEST_F(WordTest, AllCarriesHappenInOnePass) {
  Chart& word = runningWordAt("09:59.99");
  frames(word, 1);
  EXPECT_EQ(clockOf(word), "10:00.00");
}

TEST_F(WordTest, TheDisplayStopsAtItsLimit) {
  Chart& word = runningWordAt("99:59.99");
  frames(word, 1);
  EXPECT_EQ(clockOf(word), "99:59.99");
  EXPECT_EQ(global("gvStartTime"), nullptr);
  frames(word, 10);
  EXPECT_EQ(clockOf(word), "99:59.99");
  sendNumber("gvStartTime", 1);  // a key sends it again
  frames(word, 10);
  EXPECT_EQ(clockOf(word), "99:59.99");
}

struct BestTimeCase {
  std::string_view stored;  // "" for nothing stored
  std::string_view run;
  std::string_view mode;
  bool saved;
};

std::ostream& operator<<(std::ostream& out, const BestTimeCase& c) {
  return out << c.mode << " run " << c.run << " against " << (c.stored.empty() ? "none" : c.stored);
}

// "mm:ss.hh" one hundredth earlier.
std::string hundredthBefore(std::string_view time) {
  const int hundredths = std::stoi(std::string(time.substr(0, 2))) * 6000 +
                         std::stoi(std::string(time.substr(3, 2))) * 100 +
                         std::stoi(std::string(time.substr(6, 2))) - 1;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d.%02d", hundredths / 6000, hundredths / 100 % 60,
                hundredths % 100);
  return text;
}

nlohmann::json digitsOf(std::string_view time) {
  nlohmann::json digits = nlohmann::json::array();
  for (char c : time) {
    if (c >= '0' && c <= '9') digits.push_back(c - '0');
  }
  return digits;
}

class WordBestTimeTest : public WordTest, public ::testing::WithParamInterface<BestTimeCase> {};

TEST_P(WordBestTimeTest, ALongerTimeReplacesTheStoredOne) {
  const BestTimeCase& c = GetParam();
  const std::string other = c.mode == "Easy" ? "Hard" : "Easy";
  if (!c.stored.empty()) store(c.mode, digitsOf(c.stored));
  Chart& word = runningWordAt(hundredthBefore(c.run));
  stop(word, c.mode);
  EXPECT_EQ(clockOf(word), c.run);
  ASSERT_NE(stored(c.mode), nullptr);
  EXPECT_EQ(*stored(c.mode), digitsOf(c.saved ? c.run : c.stored));
  EXPECT_EQ(stored(other), nullptr);
  ASSERT_NE(global("gvExitGame"), nullptr);
  EXPECT_EQ(global("gvExitGame")->number, 1.0f);
}

INSTANTIATE_TEST_SUITE_P(Word, WordBestTimeTest,
                         ::testing::Values(BestTimeCase{"01:02.03", "01:02.04", "Easy", true},
                                           BestTimeCase{"01:02.03", "00:59.99", "Easy", false},
                                           BestTimeCase{"01:02.03", "01:02.03", "Easy", false},
                                           BestTimeCase{"", "00:00.01", "Easy", true},
                                           BestTimeCase{"00:10.00", "10:00.00", "Hard", true},
                                           BestTimeCase{"00:10.00", "00:09.99", "Hard", false}));

TEST_F(WordTest, AClockThatNeverRanSavesNothingButEndsTheRun) {
  Chart& word = newWord();
  stop(word, "Easy");
  EXPECT_EQ(stored("Easy"), nullptr);
  EXPECT_EQ(stored("Hard"), nullptr);
  ASSERT_NE(global("gvExitGame"), nullptr);
  EXPECT_EQ(global("gvExitGame")->number, 1.0f);
}

TEST_F(WordTest, ALineIsCentredOnItsLength) {
  Chart& word = newWord("ABCDEFGHIJKLM");
  EXPECT_EQ(cell(word, "gvLength").math, -12.0f);
  const std::vector<Chart*> letters = children(word, "letters");
  ASSERT_EQ(letters.size(), 1u);
  EXPECT_EQ(cell(*letters[0], "gvLength").math, -12.0f);
  EXPECT_EQ(cell(*letters[0], "gvYLetter").math, -10.0f);
  EXPECT_EQ(global("gvLoad"), nullptr) << "the Letters did not finish its polygon";
}

}  // namespace
}  // namespace chart::testing
