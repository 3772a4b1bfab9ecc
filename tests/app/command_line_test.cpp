// The options and the input script, parsed in-process and through the real binary, and the
// other ways a start ends early.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <tuple>
#include <variant>

#include "app/command_line.h"
#include "app/input_script.h"
#include "app/startup_check.h"
#include "support/run_program.h"

namespace {

std::variant<Options, int> parse(std::vector<const char*> arguments) {
  arguments.insert(arguments.begin(), "aloft");
  return parseCommandLine(int(arguments.size()), arguments.data());
}

Options options(const std::vector<const char*>& arguments) {
  auto parsed = parse(arguments);
  EXPECT_TRUE(std::holds_alternative<Options>(parsed)) << arguments[0];
  return std::holds_alternative<Options>(parsed) ? std::get<Options>(parsed) : Options{};
}

TEST(CommandLine, ReadsEveryOption) {
  const Options all = options(
      {"--fullscreen", "--size", "1280x720", "--resources", "/r", "--prefs", "/p.json",
       "--headless", "--frames", "12", "--fixed-step", "0.005", "--script", "s.txt", "--screenshot",
       "x.png", "--trace", "Menus", "--trace", "Game", "--volume", "70", "--mute", "--count-nodes",
       "n.txt", "--record", "r.replay"});
  EXPECT_TRUE(all.fullscreen && all.headless && all.mute);
  EXPECT_EQ(all.size, (platform::Size{1280, 720}));
  EXPECT_EQ((std::vector{all.resources, all.prefs, all.script, all.screenshot, all.countNodes,
                         all.record}),
            (std::vector<std::string>{"/r", "/p.json", "s.txt", "x.png", "n.txt", "r.replay"}));
  EXPECT_EQ(all.frames, 12);
  EXPECT_EQ(all.fixedStep, 0.005);
  EXPECT_EQ(all.trace, (std::vector<std::string>{"Menus", "Game"}));
  EXPECT_EQ(all.volume, 70);
  const Options graph = options({"--chart-graph", "all", "--counts", "n.txt"});
  EXPECT_EQ(graph.chartGraph + " " + graph.counts, "all n.txt");
  EXPECT_EQ(options({"--replay-best", "easy"}).replayBest, "easy");

  const Options defaults = options({});
  EXPECT_EQ(defaults.size, (platform::Size{960, 640}));
  EXPECT_FALSE(defaults.frames || defaults.fixedStep || defaults.volume || defaults.mute);
}

TEST(CommandLine, RefusesBadValuesWithTheUsageStatus) {
  for (auto arguments : std::vector<std::vector<const char*>>{
           {"--bogus"}, {"--size", "960"}, {"--size", "0x640"}, {"--size", "960x640x2"},
           {"--frames", "0"}, {"--frames", "ten"}, {"--fixed-step", "0"},
           {"--fixed-step", "-1"}, {"--volume", "101"}, {"--volume", "-10"}, {"extra"},
           {"--counts", "n.txt"}, {"--count-nodes", "n.txt", "--chart-graph", "Game"},
           {"--replay-best", "medium"}, {"--replay", "a", "--verify", "b"},
           {"--verify", "a", "--record", "b"}, {"--replay-best", "hard", "--script", "s"},
           {"--flight", "f.txt"}, {"--replay", "a", "--flight", "f.txt"}}) {
    auto parsed = parse(arguments);
    ASSERT_TRUE(std::holds_alternative<int>(parsed)) << arguments[0];
    EXPECT_EQ(std::get<int>(parsed), kExitUsage) << arguments[0];
  }
}

TEST(InputScript, NamesTheFileAndLineOfAMalformedLine) {
  const std::pair<std::string, const char*> cases[] = {
      {std::string("4 key-down a\0b", 14), "4: a control character in the line"},
      {"0 key-down a", "4: frame \"0\" is not a whole number from 1 up"},
      {"x key-down a", "4: frame \"x\" is not a whole number from 1 up"},
      {"4", "4: an event is missing after the frame"},
      {"4 key-press a", "4: unknown event \"key-press\""},
      {"4 key-down Shift", "4: unknown key \"Shift\""},
      {"4 key-down Ctrl+", "4: unknown key \"Ctrl+\""},
      {"4 key-down", "4: \"key-down\" takes 1 argument"},
      {"4 mouse-move 1", "4: \"mouse-move\" takes 2 arguments"},
      {"4 mouse-move 1 y", "4: mouse-move needs two whole numbers"},
      {"4 mouse-up middle", "4: unknown mouse button \"middle\" (left or right)"},
      {"4 pad-push 1 a", "4: unknown event \"pad-push\""},
      {"4 pad-connect 5", "4: pad \"5\" is not a whole number from 1 to 4"},
      {"4 pad-down 1", "4: \"pad-down\" takes 2 arguments"},
      {"4 pad-down 1 x", "4: unknown pad button \"x\" (a b start up down left right)"},
      {"4 pad-stick 1 40000", "4: pad-stick needs a whole number from -32768 to 32767"},
      // Pad events run in frame order: a pad pressed before the frame it connects in.
      {"4 pad-down 1 a\n5 pad-connect 1", "4: pad 1 is not connected (pad-connect it first)"},
      {"4 pad-connect 1\n5 pad-connect 1", "5: pad 1 is already connected"},
      {"4 pad-connect 1\n5 pad-disconnect 1\n6 pad-up 1 b",
       "6: pad 1 is not connected (pad-connect it first)"}};
  for (const auto& [line, message] : cases) {
    // Comments, blank lines and tabs before the line do not count.
    std::istringstream in("# a comment\n\n1\tkey-down a  # held\n" + line +
                          "\n9 key-up a\n");
    std::string error;
    EXPECT_FALSE(InputScript::parse(in, "s.txt", error)) << line;
    EXPECT_EQ(error, std::string("s.txt:") + message);
  }
}

// The real binary: every way a start ends early, with its status and message; help and version.
// A refused option is one line and where to find the options, before anything is played.
TEST(Binary, EndsWithTheStatusAndMessageOfEachCase) {
  const ScratchDirectory directory("options");
  const std::string script = (directory / "bad-script.txt").string();
  writeText(script, "1 key-down a\n2 key-down Shift\n");
  const std::string folder = directory.path().string(), prefs = folder + "/p.json";
  const std::string refused = "\ntry aloft --help\n";
  const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
      {{"--colour", "red"}, 2, "aloft: The following arguments were not expected: red --colour" +
                                   refused},
      {{"--script", script}, 2, "aloft: " + script + ":2: unknown key \"Shift\"" + refused},
      {{"--script", script + ".none"}, 2,
       "aloft: " + script + ".none: cannot be read: No such file or directory" + refused},
      {{"--script", folder}, 2, "aloft: " + folder + ": cannot be read: not a regular file" + refused},
      {{"--fixed-step", "nan"}, 2, "aloft: --fixed-step takes seconds from 0.000001 to 1" + refused},
      {{"--volume", "abc"}, 2, "aloft: --volume takes a whole number from 0 to 100; not abc" + refused},
      {{"--size", "100000x100000"}, 2,
       "aloft: --size takes WIDTHxHEIGHT in points, each from 1 to 16384, e.g. 960x640; not "
       "100000x100000" + refused},
      {{"--trace", "Nope"}, 2, "aloft: --trace: there is no chart \"Nope\"" + refused},
      {{"--record", "/proc/x.replay"}, 2,
       "aloft: --record: cannot write /proc/x.replay: No such file or directory" + refused},
      {{"--frames", "3", "--screenshot", "x.jpg"}, 2,
       "aloft: --screenshot writes PNG: its name ends in .png" + refused},
      {{"--screenshot", "x.png"}, 2,
       "aloft: --screenshot writes the last of --frames N: give --frames" + refused},
      {{"--frames", "3", "--screenshot", "/nonexistent/dir/x.png"}, 2,
       "aloft: --screenshot: cannot write /nonexistent/dir/x.png: No such file or directory" +
           refused},
      {{"--prefs", folder}, 2,
       "aloft: the preferences file " + folder + " is not a regular file" + refused},
      {{"--prefs", prefs, "--replay-best", "easy"}, 2,
       "aloft: no best easy run is kept yet (" + folder + "/best-easy.replay); play one first\n"},
      {{"--resources", "/nowhere"}, 1,
       "Error: The game's pictures and sounds were not found. Looked in:\n"
       "  /nowhere/kivResources\n"}};
  for (auto [arguments, status, message] : cases) {
    arguments.insert(arguments.begin(), "--headless");
    const ProgramResult result = runProgram(gameBinary(), arguments);
    EXPECT_EQ(result.exitStatus, status) << message;
    EXPECT_EQ(result.err, message);
  }
  // Headless, the alert opens no box even with a display there: it would wait to be clicked.
  const ProgramResult boxless =
      runProgram("/usr/bin/timeout", {"20", "xvfb-run", "-a", gameBinary(), "--headless",
                                      "--resources", "/nowhere"});
  EXPECT_EQ(boxless.exitStatus, 1) << boxless.err;

  const ProgramResult help = runProgram(gameBinary(), {"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  // The options are held against the manual (install.manual_lists_the_options_of_help).
  for (const char* key : {"Ctrl+M", "Ctrl+Minus", "Ctrl+Plus", "Shift+Tab", "Return", "controller",
                          "Start", "B resumes"}) {
    EXPECT_NE(help.out.find(key), std::string::npos) << key;
  }
  const ProgramResult version = runProgram(gameBinary(), {"--version"});
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_EQ(version.out, std::string("aloft ") + ALOFT_VERSION + "\n");
}

// OpenGL older than 1.4 ends the program with status 1, and nothing after the message runs.
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
