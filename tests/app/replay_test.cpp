// Replays: a scripted hard run of the real game, recorded, then verified, tampered with and
// damaged; and the text format reads back every bit it writes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <tuple>

#include "app/replay_file.h"
#include "app/replay_recorder.h"
#include "app/session_recorder.h"
#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// The number of the line of `text` that holds `needle` (after a newline it starts with).
std::string lineOf(const std::string& text, const std::string& needle) {
  const std::size_t at = text.find(needle) + (needle[0] == '\n' ? 1 : 0);
  return std::to_string(std::count(text.begin(), text.begin() + std::ptrdiff_t(at), '\n') + 1);
}

// A hard run on a 240 x 160 window at fixed steps: the HARD panel clicked once the splash
// screens are over, a key to start, a turn to the left held until the flyer heads down to land.
class RecordedRun : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char pattern[] = "/tmp/aloft-replay-XXXXXX";
    directory = mkdtemp(pattern);
    writeText(directory / "run.script",
              "620 mouse-move 120 26\n620 mouse-down left\n621 mouse-up left\n"
              "700 key-down Space\n705 key-up Space\n720 key-down Left\n756 key-up Left\n");
    const ProgramResult run = runProgram(
        gameBinary(), {"--headless", "--fixed-step", "0.01", "--frames", "800", "--size",
                       "240x160", "--script", (directory / "run.script").string(), "--prefs",
                       (directory / "preferences.json").string(), "--record",
                       (directory / "session.replay").string()});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
  }
  static void TearDownTestSuite() { fs::remove_all(directory); }

  static ProgramResult verify(const std::string& contents) {
    const fs::path file = directory / "checked.replay";
    writeText(file, contents);
    return runProgram(gameBinary(), {"--verify", file.string()});
  }

  static inline fs::path directory;
};

TEST_F(RecordedRun, TheStoredBestVerifiesAndTamperingDoesNot) {
  const std::string best = readText(directory / "best-hard.replay");
  const auto stored = nlohmann::json::parse(readText(directory / "preferences.json"));
  const std::string time = bestTimeText(stored.at("Hard"));
  ASSERT_FALSE(time.empty());
  // The kept run claims the time the preferences hold.
  ASSERT_NE(best.find("claim Hard " + time + "\n"), std::string::npos) << best;

  // Each: the replay, its status, what --verify reports.
  const std::tuple<std::string, int, std::string> cases[] = {
      {best, 0, "hard " + time + " verified\n"},
      {replaced(best, "claim Hard " + time, "claim Hard 00:09.99"), 1,
       "hard " + time + " reached, not verified: the replay claims 00:09.99\n"},
      {replaced(best, "136 key-up Left", "120 key-up Left"), 1, "not verified"},
      {readText(directory / "session.replay"), 0, "800 frames played; hard " + time + "\n"}};
  for (const auto& [contents, status, reported] : cases) {
    const ProgramResult result = verify(contents);
    EXPECT_EQ(result.exitStatus, status) << result.err;
    EXPECT_NE(result.out.find(reported), std::string::npos) << reported << " in " << result.out;
  }
}

// Each signal that ends a program from outside ends the game as Ctrl+Q does, with the status a
// shell expects of it (128 + the signal), the session's recording written. A watched replay
// whose frames claim a day each waits at most a second a frame and wakes for the signal too.
TEST_F(RecordedRun, EachQuitSignalEndsTheGameAsCtrlQDoes) {
  std::string slow = readText(directory / "session.replay");
  for (std::size_t at; (at = slow.find(" length 0.01")) != std::string::npos;) {
    slow.replace(at, 12, " length 86400");
  }
  writeText(directory / "slow.replay", slow);
  const std::pair<const char*, int> signals[] = {{"HUP", 1}, {"INT", 2}, {"QUIT", 3}, {"TERM", 15}};
  std::vector<std::vector<std::string>> runs;
  for (const auto& [name, number] : signals) {
    runs.push_back({"--preserve-status", "-k", "30", "-s", name, "8", gameBinary(), "--headless",
                    "--prefs", (directory / name).string() + ".json", "--record",
                    (directory / name).string() + ".replay"});
  }
  runs.push_back({"--preserve-status", "-k", "30", "-s", "TERM", "8", gameBinary(), "--headless",
                  "--replay", (directory / "slow.replay").string()});
  const auto results = runProgramsTogether("/usr/bin/timeout", runs);
  for (std::size_t at = 0; at < std::size(signals); ++at) {
    const auto& [name, number] = signals[at];
    EXPECT_EQ(results[at].exitStatus, 128 + number) << name << results[at].err;
    std::string error;
    const auto recorded = loadReplay((directory / name).string() + ".replay", error);
    ASSERT_TRUE(recorded) << name << error;
    EXPECT_GT(recorded->frames.size(), 10u) << name;
  }
  EXPECT_EQ(results.back().exitStatus, 128 + 15) << results.back().err;
}

TEST_F(RecordedRun, DamagedReplaysAreRefusedNamingTheirLine) {
  const std::string best = readText(directory / "best-hard.replay");
  const std::size_t lines = std::size_t(std::count(best.begin(), best.end(), '\n'));
  const std::string half = best.substr(0, best.find('\n', best.size() / 2) + 1);
  const std::size_t halfLines = std::size_t(std::count(half.begin(), half.end(), '\n'));
  const std::string digestLine = best.substr(best.find("resources "), 26);
  // Each: the damaged replay and what the error names after "FILE:".
  const std::pair<std::string, std::string> cases[] = {
      {std::string("\x89PNG\r\n\x1a\n\0\0\0", 11), "1: not a replay"},
      {"", "1: not a replay"},
      {half, std::to_string(halfLines + 1) + ": the replay ends without its"},
      {replaced(best, "aloft-replay 1", "aloft-replay 2"),
       "1: a replay of format version 2; this game reads version 1"},
      {replaced(best, digestLine, "resources 0123456789abcdef"),
       "4: the replay was recorded with other resource files"},
      {replaced(best, "\n1 length 0.01 ", "\n2 length 0.01 "),
       lineOf(best, "\n1 length") + ": the length of frame 1 is missing"},
      {replaced(best, "\nend ", "\n99999 key-down a\nend "),
       std::to_string(lines) + ": a frame after the last one"},
      {replaced(best, "key-down Left", "key-down LeftArrow"),
       lineOf(best, "key-down Left") + ": unknown key \"LeftArrow\""},
      {best + "1 key-down a\n", std::to_string(lines + 1) + ": text after the \"end\" line"},
      {replaced(best, "prefs {}", "prefs [1"), "5: prefs takes a JSON object"},
      {replaced(best, "prefs {}", R"(prefs {"Hard": "fast"})"),
       "5: the best time under \"Hard\" is not six digits"}};
  const std::string file = (directory / "checked.replay").string();
  for (const auto& [contents, reported] : cases) {
    const ProgramResult result = verify(contents);
    EXPECT_EQ(result.exitStatus, 2) << reported;
    EXPECT_NE(result.err.find("aloft: " + file + ":" + reported), std::string::npos)
        << reported << " in " << result.err;
  }
}

TEST(ReplayFormat, WritesWhatReadsBackBitForBit) {
  // Every key the charts can see has a name that gives it back.
  for (unsigned code = 0; code <= 0xFFFF; ++code) {
    ASSERT_EQ(keyCharacter(keyName(char16_t(code))), char16_t(code)) << keyName(char16_t(code));
  }

  Replay replay;
  replay.gameVersion = "9.9";
  replay.window = {300, 200};
  replay.resourceDigest = "00ff";
  replay.preferences = R"({"Hard":[0,0,1,2,3,4],"Note":"a b # c"})";
  replay.startMode = "Easy";
  replay.startState = {{"Camera", "zoom", std::nextafter(-35.0f, 0.0f)}};
  replay.claimKey = "Easy";
  replay.claimTime = "00:01.23";
  // More frames than a recorder block holds, with lengths, pointers and events that need every
  // bit: the recorder's copy of them is what is written.
  ReplayRecorder recorder;
  const float lengths[] = {0.0f, 0.01f, std::nextafter(0.01f, 1.0f), 1e-30f, 0.0173f};
  const platform::InputEvent events[] = {{platform::InputKind::KeyDown, u'#'},
                                         {platform::InputKind::KeyUp, u'#'},
                                         {platform::InputKind::RightMouseDown, 0},
                                         {platform::InputKind::KeyDown, char16_t(0xE9)},
                                         {platform::InputKind::LeftMouseUp, 0}};
  const std::size_t count = ReplayRecorder::kFramesPerBlock * 2 + 7;
  for (std::size_t at = 0; at < count; ++at) {
    FrameInput frame;
    frame.length = lengths[(at / 3) % std::size(lengths)];
    frame.event = events[(at / 5) % std::size(events)];
    frame.pointer = {double(at % 11) / 3.0, 1.0 / double(at % 7 + 1)};
    frame.drawable = at < count / 2 ? platform::Size{300, 200} : platform::Size{600, 400};
    recorder.record(frame);
  }
  replay.frames = recorder.copy(0, recorder.size());

  std::istringstream text(formatReplay(replay));
  std::string error;
  const auto read = parseReplay(text, "round", error);
  ASSERT_TRUE(read) << error;
  EXPECT_EQ(read->preferences, replay.preferences);
  EXPECT_EQ(read->startState[0].value, replay.startState[0].value);
  EXPECT_EQ(read->claimTime, "00:01.23");
  ASSERT_EQ(read->frames.size(), count);
  for (std::size_t at = 0; at < count; ++at) {
    const FrameInput& a = replay.frames[at];
    const FrameInput& b = read->frames[at];
    ASSERT_TRUE(std::bit_cast<std::uint32_t>(a.length) == std::bit_cast<std::uint32_t>(b.length) &&
                a.pointer.x == b.pointer.x && a.pointer.y == b.pointer.y &&
                a.event.kind == b.event.kind && a.event.character == b.event.character &&
                a.drawable == b.drawable)
        << "frame " << at;
  }
}

}  // namespace
