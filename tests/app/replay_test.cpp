// Replays: a scripted hard run of the real game, recorded, then verified, tampered with and
// damaged; the verifier against hostile files and signals; the GL and the null back end playing
// the same replays alike; the front program's verdicts against the game program's; and the text
// format reads back every bit it writes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <tuple>

#include "app/best_times.h"
#include "app/replay_file.h"
#include "app/replay_recorder.h"
#include "app/resource_digest.h"
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

  // Its flight: from where the flyer stands, every tenth of a second, to the last frame before
  // the landing frame that ends the run; the node counts beside it.
  const fs::path flight = directory / "flight.txt", counts = directory / "counts.txt";
  const ProgramResult logged =
      runProgram(gameBinary(), {"--verify", (directory / "best-hard.replay").string(), "--flight",
                                flight.string(), "--count-nodes", counts.string()});
  ASSERT_EQ(logged.exitStatus, 0) << logged.err;
  std::istringstream lines(readText(flight));
  std::string header, run;
  std::getline(lines, header) && std::getline(lines, run);
  EXPECT_EQ(header + "|" + run, "# time height across|run");
  std::vector<std::array<double, 3>> samples;
  for (double t, h, x; lines >> t >> h >> x;) samples.push_back({t, h, x});
  ASSERT_GT(samples.size(), 3u);
  EXPECT_EQ(samples[0], (std::array<double, 3>{0, 1.5, 0}));
  for (std::size_t at = 1; at + 1 < samples.size(); ++at) {
    EXPECT_NEAR(samples[at][0], samples[at - 1][0] + 0.1, 0.005) << at;
  }
  const int centiseconds = std::stoi(time.substr(3, 2)) * 100 + std::stoi(time.substr(6, 2));
  EXPECT_NEAR(samples.back()[0], (centiseconds - 1) / 100.0, 0.005);
  EXPECT_GT(
      std::max_element(samples.begin(), samples.end(), [](auto& a, auto& b) { return a[1] < b[1]; })
          ->at(1),
      3);
  EXPECT_NE(readText(counts).find("\nGame trunk0_48 " + std::to_string(centiseconds)),
            std::string::npos);
}

// The same run by a user who cannot write the preference folder (the tests run as root in CI,
// and root writes anywhere: the game is run as nobody): it plays on, says once which file it
// could not save, from before the window opens (a note over the logo, which a game whose save
// worked does not show), and keeps the time in memory, so the stats screen after the run is that
// of a game whose save worked; the stored file stays as it was.
TEST_F(RecordedRun, AFolderItsUserCannotWriteKeepsTheTimeAndSaysSoOnce) {
  std::vector<std::string> command;
  if (geteuid() == 0) {
    if (fs::exists("/usr/bin/setpriv")) {
      command = {"/usr/bin/setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"};
    } else if (fs::exists("/usr/sbin/runuser")) {
      command = {"/usr/sbin/runuser", "-u", "nobody", "--"};
    } else {
      GTEST_SKIP() << "neither setpriv nor runuser is installed: the game cannot be run as a "
                      "user without the permission";
    }
  }
  const ScratchDirectory scratch{"unwritable-prefs"};
  const fs::path folder = scratch / "prefs", out = scratch / "out", script = scratch / "s.txt";
  const std::string stored = "{\"Easy\":[0,0,4,2,1,7]}\n";
  fs::create_directories(folder);
  fs::create_directories(out);
  writeText(folder / "preferences.json", stored);
  fs::copy_file(directory / "run.script", script);
  fs::permissions(scratch.path(), fs::perms(0755));
  fs::permissions(folder, fs::perms(0555));  // the lock cannot be made, nor anything else
  fs::permissions(out, fs::perms::all);
  fs::permissions(script, fs::perms(0644));
  const auto play = [&](const fs::path& prefs, const std::string& picture,
                        const char* frames = "900") {
    std::vector<std::string> arguments = command;
    arguments.insert(arguments.end(),
                     {gameBinary(), "--headless", "--fixed-step", "0.01", "--frames", frames,
                      "--size", "240x160", "--script", script.string(), "--prefs", prefs.string(),
                      "--screenshot", (out / picture).string()});
    const std::string binary = arguments.front();
    arguments.erase(arguments.begin());
    return runProgram(binary, arguments);
  };

  const ProgramResult unsaved = play(folder / "preferences.json", "unsaved.png");
  EXPECT_EQ(unsaved.exitStatus, 0) << unsaved.err;
  EXPECT_EQ(unsaved.err, "aloft: could not save " + (folder / "preferences.json.lock").string() +
                             ": Permission denied; kept, and tried again at the next save and "
                             "at exit\n");
  EXPECT_EQ(readText(folder / "preferences.json"), stored);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);

  fs::create_directories(out / "saved");
  fs::permissions(out / "saved", fs::perms::all);
  writeText(out / "saved" / "preferences.json", stored);
  const ProgramResult saved = play(out / "saved" / "preferences.json", "saved.png");
  EXPECT_EQ(saved.exitStatus, 0) << saved.err;
  EXPECT_NE(readText(out / "saved" / "preferences.json"), stored);
  EXPECT_EQ(readText(out / "unsaved.png"), readText(out / "saved.png"));
  play(folder / "preferences.json", "unsaved-note.png", "20");
  play(out / "saved" / "preferences.json", "saved-note.png", "20");
  EXPECT_NE(readText(out / "unsaved-note.png"), readText(out / "saved-note.png"));
}

// Each signal that ends a program from outside ends the game as Ctrl+Q does, with the status a
// shell expects of it (128 + the signal), the session's recording written. A watched replay
// whose frames each claim a second, the longest a replay may hold, wakes for the signal too.
TEST_F(RecordedRun, EachQuitSignalEndsTheGameAsCtrlQDoes) {
  std::string slow = readText(directory / "session.replay");
  for (std::size_t at; (at = slow.find(" length 0.01")) != std::string::npos;) {
    slow.replace(at, 12, " length 1");
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
  const std::string lastFrame = best.substr(best.rfind("end ") + 4, best.size() - best.rfind("end ") - 5);
  const std::string lengthLine = lineOf(best, "\n1 length");
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
       "5: the best time under \"Hard\" is not six digits"},
      // What would make the verifier sleep, or play for ever, or draw a huge picture.
      {replaced(best, "\n1 length 0.01 ", "\n1 length 1.5 "),
       lengthLine + ": length takes SECONDS, from 0 to 1"},
      {replaced(best, "\n1 length 0.01 ", "\n1 length inf "),
       lengthLine + ": length takes SECONDS, from 0 to 1"},
      {replaced(best, "\n1 length 0.01 ", "\n1 length nan "),
       lengthLine + ": length takes SECONDS, from 0 to 1"},
      {replaced(best, "\nend ", "\n" + lastFrame + " size 16385 100\nend "),
       std::to_string(lines) + ": size takes WIDTH HEIGHT in pixels, from 1 to 16384"},
      {replaced(best, "window 240x160", "window 16384x16385"),
       "3: window takes WIDTHxHEIGHT in points, from 1 to 16384"},
      {replaced(best, "1 pointer 120 134", "1 pointer nan 134"),
       lineOf(best, "1 pointer") + ": pointer takes X Y, finite numbers"},
      {replaced(best, "claim Hard 00:", "claim Hard 0:"),
       lineOf(best, "claim Hard") + ": claim takes MODE MM:SS.CC"}};
  const std::string file = (directory / "checked.replay").string();
  for (const auto& [contents, reported] : cases) {
    const ProgramResult result = verify(contents);
    EXPECT_EQ(result.exitStatus, 2) << reported;
    EXPECT_NE(result.err.find("aloft: " + file + ":" + reported), std::string::npos)
        << reported << " in " << result.err;
  }
}

// Refused before anything is played (exit 2): a claim for no mode, and more frames than the
// claimed run could hold (before they take memory). Killed or interrupted, it says nothing and
// fails. It loads no GL library and opens no sound device.
// (A 0.67 s claim holds at most (1 + 600) × 1,000 frames.)
TEST_F(RecordedRun, TheVerifierRefusesWhatWouldCostMoreThanTheClaimAndNeverPassesWhenStopped) {
  const std::string best = readText(directory / "best-hard.replay");
  const std::string header = best.substr(0, best.find("\n1 length") + 1);
  const std::string claim = best.substr(best.find("claim Hard ") + 11, 8);
  const std::string tooMany = header + "1 length 0 602000\nend 602000\n";
  const std::pair<std::string, std::string> refused[] = {
      {replaced(best, "claim Hard", "claim Medium"), ": the claim names the mode \"Medium\""},
      {tooMany, ":" + std::to_string(std::count(tooMany.begin(), tooMany.end(), '\n') + 1) +
                    ": 602000 frames for a run of " + claim + ": more than 601000"}};
  const std::string file = (directory / "checked.replay").string();
  for (const auto& [contents, reported] : refused) {
    const ProgramResult result = verify(contents);
    EXPECT_EQ(result.exitStatus, 2) << reported;
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("aloft: " + file + reported), std::string::npos)
        << reported << " in " << result.err;
  }

  const fs::path opened = directory / "opened.txt";
  const ProgramResult traced =
      runProgram("/usr/bin/strace", {"-f", "-e", "trace=openat", "-o", opened.string(),
                                     gameBinary(), "--verify", (directory / "best-hard.replay").string()});
  if (traced.exitStatus == 0) {
    std::istringstream lines(readText(opened));
    for (std::string line; std::getline(lines, line);) {
      for (const char* device : {"libGL", "libEGL", "libOpenGL", "_dri.so", "/dev/snd", "/dev/dri"}) {
        EXPECT_EQ(line.find(device), std::string::npos) << line;
      }
    }
  } else {
    ADD_FAILURE() << "strace: " << traced.err;
  }

  // A session a day long, stopped after a moment.
  std::string session = replaced(header, "claim Hard " + claim + "\n", "");
  session = replaced(session, "start Hard\n", "");
  writeText(directory / "day.replay", session + "1 length 0.01 8640000\nend 8640000\n");
  for (const char* signal : {"TERM", "INT"}) {
    const ProgramResult result =
        runProgram("/usr/bin/timeout", {"--preserve-status", "-s", signal, "0.5", gameBinary(),
                                        "--verify", (directory / "day.replay").string()});
    EXPECT_NE(result.exitStatus, 0) << signal;
    EXPECT_EQ(result.out, "") << signal;
  }
}

// The same replays played on the GL back end (a headless window) and on the one that draws
// nothing (what --verify runs on) make the charts do the same: every node of every chart that
// picks, runs the clock or stores a time, with the cells it read and wrote, frame by frame, until
// the verifier stops at the claimed run's end. The recordings cover both modes, a window of
// another shape than the picture (bars at the sides) and the pointer crossing a panel's edges a
// pixel a frame.
TEST_F(RecordedRun, TheGLAndTheNullBackEndPlayEveryFrameAlike) {
  const fs::path wide = directory / "wide";
  fs::create_directories(wide);
  // The HARD panel spans x 387.5 to 612.5 and y 47.8 to 115.4 from the top in this window.
  std::string script;
  for (int step = 0; step <= 20; ++step) {
    script += std::to_string(600 + step) + " mouse-move " + std::to_string(380 + step) + " 82\n";
    script += std::to_string(621 + step) + " mouse-move 500 " + std::to_string(38 + step) + "\n";
  }
  // EASY clicked; an easy flyer turns more slowly: the turn is held longer.
  script += "650 mouse-move 500 308\n650 mouse-down left\n651 mouse-up left\n"
            "700 key-down Space\n705 key-up Space\n720 key-down Left\n820 key-up Left\n";
  const ProgramResult recorded =
      playScript(script, 1000, wide / "preferences.json",
                 {"--size", "1000x500", "--record", (wide / "session.replay").string()});
  ASSERT_EQ(recorded.exitStatus, 0) << recorded.err;
  ASSERT_TRUE(fs::exists(wide / "best-easy.replay"));

  // The chart nodes a run's outcome rests on, as the trace prints them.
  const auto chartNodes = [](const ProgramResult& result) {
    std::string nodes;
    std::istringstream lines(result.err);
    for (std::string line; std::getline(lines, line);) {
      if (line.starts_with('[')) nodes += line + '\n';
    }
    return nodes;
  };
  const std::vector<std::string> traced = {"--trace", "Stats", "--trace", "Game",
                                           "--trace", "Word",  "--trace", "Menus"};
  for (const fs::path& replay :
       {directory / "best-hard.replay", directory / "session.replay", wide / "session.replay",
        wide / "best-easy.replay"}) {
    std::vector<std::string> drawn = {"--replay", replay.string(), "--headless", "--fixed-step",
                                      "0.01"};
    std::vector<std::string> verified = {"--verify", replay.string()};
    drawn.insert(drawn.end(), traced.begin(), traced.end());
    verified.insert(verified.end(), traced.begin(), traced.end());
    const ProgramResult gl = runProgram(gameBinary(), drawn);
    const ProgramResult none = runProgram(gameBinary(), verified);
    ASSERT_EQ(gl.exitStatus, 0) << gl.err.substr(0, 2000);
    ASSERT_EQ(none.exitStatus, 0) << none.out << none.err.substr(0, 2000);
    const std::string glNodes = chartNodes(gl), nullNodes = chartNodes(none);
    ASSERT_GT(nullNodes.size(), 1000u) << replay;
    EXPECT_NE(nullNodes.find("Picking_update"), std::string::npos) << replay;
    // The verifier stops once the claimed time is stored; the rest is the same to the byte.
    ASSERT_LE(nullNodes.size(), glNodes.size()) << replay;
    const std::size_t differ = std::size_t(
        std::mismatch(nullNodes.begin(), nullNodes.end(), glNodes.begin()).first -
        nullNodes.begin());
    EXPECT_EQ(differ, nullNodes.size())
        << replay << ": first difference at\n" << nullNodes.substr(differ, 300) << "\nagainst\n"
        << glNodes.substr(differ, 300);
  }
}

// `aloft` verifies by itself only with the resources it was built with, answering the charts
// from what the build recorded of them; with others it hands the replay to the game program.
// Either way the verdict and every traced node are the game program's own. Rows: resources
// given with --resources (none: the built-in ones), with the replay made to name their digest.
TEST_F(RecordedRun, TheFrontProgramVerifiesAsTheGameProgramDoes) {
  const std::string gameProgram = (fs::path(gameBinary()).parent_path() / "aloft-game").string();
  const std::string best = readText(directory / "best-hard.replay");
  const std::string digestLine = best.substr(best.find("resources "), 26);
  const std::string time = best.substr(best.find("claim Hard ") + 11, 8);
  // A picture with a byte past its end decodes as before; one cut short does not.
  const auto copied = [](const std::string& name, std::uintmax_t grassSize) {
    const fs::path folder = directory / name;
    fs::create_directories(folder);
    fs::copy(ALOFT_KIV_RESOURCES, folder / "kivResources", fs::copy_options::recursive);
    fs::resize_file(folder / "kivResources/Grass.tif", grassSize);
    return folder.string();
  };
  const std::uintmax_t grass = fs::file_size(fs::path(ALOFT_KIV_RESOURCES) / "Grass.tif");
  const std::string padded = copied("padded", grass + 1), cut = copied("cut", grass / 2);
  ASSERT_NE(resourceDigest(padded + "/kivResources"), resourceDigest(ALOFT_KIV_RESOURCES));
  const auto naming = [&](const std::string& folder) {
    return replaced(best, digestLine, "resources " + resourceDigest(folder + "/kivResources"));
  };
  const std::tuple<std::string, std::string, int, std::string> cases[] = {
      {"", best, 0, "hard " + time + " verified\n"},
      {"", readText(directory / "session.replay"), 0, "800 frames played; hard " + time + "\n"},
      {padded, naming(padded), 0, "hard " + time + " verified\n"},
      {cut, naming(cut), 1, cut + "/kivResources/Grass.tif was not found."}};
  const std::string file = (directory / "checked.replay").string();
  for (const auto& [resources, contents, status, reported] : cases) {
    writeText(file, contents);
    std::vector<std::string> arguments = {"--verify", file, "--trace", "Game", "--trace", "Word"};
    if (!resources.empty()) arguments.insert(arguments.end(), {"--resources", resources});
    const ProgramResult front = runProgram(gameBinary(), arguments);
    const ProgramResult game = runProgram(gameProgram, arguments);
    EXPECT_EQ(front.exitStatus, status) << reported << front.err.substr(0, 2000);
    EXPECT_NE((front.out + front.err).find(reported), std::string::npos) << reported;
    EXPECT_EQ(front.exitStatus, game.exitStatus) << reported;
    EXPECT_EQ(front.out, game.out) << reported;
    EXPECT_TRUE(front.err == game.err) << reported << ": the traces differ";
  }
}

// The digest covers the files the charts load, by name: files nobody loads (however large, or a
// pipe that would block a read) neither cost time nor change it, so the folder of today keeps the
// digest the stored replays carry; a loaded file changed, gone or made a pipe changes it.
TEST(ResourceDigest, CoversTheLoadedFilesOnly) {
  const std::string stored = readText(ALOFT_SOURCE_DIR "/fuzz/corpus/replay/best-hard.replay");
  const std::string storedDigest = stored.substr(stored.find("resources ") + 10, 16);
  ScratchDirectory scratch{"resource-digest"};
  const fs::path folder = scratch / "kivResources";
  fs::copy(ALOFT_SOURCE_DIR "/kivResources", folder);
  EXPECT_EQ(resourceDigest(folder), storedDigest);

  writeText(folder / "Unused.tif", "x");
  fs::resize_file(folder / "Unused.tif", std::uintmax_t(4) << 30);
  ASSERT_EQ(mkfifo((folder / "Unused.m4a").c_str(), 0600), 0);
  fs::create_directory(folder / "old");
  EXPECT_EQ(resourceDigest(folder), storedDigest);

  std::string shadow = readText(folder / "shadow.tif");
  shadow.back() ^= 1;
  writeText(folder / "shadow.tif", shadow);
  const std::string changed = resourceDigest(folder);
  fs::remove(folder / "shadow.tif");
  const std::string gone = resourceDigest(folder);
  ASSERT_EQ(mkfifo((folder / "shadow.tif").c_str(), 0600), 0);
  EXPECT_EQ(resourceDigest(folder), gone);
  EXPECT_NE(changed, storedDigest);
  EXPECT_NE(gone, storedDigest);
  EXPECT_NE(gone, changed);
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
