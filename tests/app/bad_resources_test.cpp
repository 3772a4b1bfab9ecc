// The real game started on a copy of its resources with one file damaged: it stops with the
// message for that kind of damage and exit status 1 when it comes to load the file, and it
// leaves the preference file as it was and the session's recording written. The cases run in the order the game loads the files.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "support/tiff_writer.h"
#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;

const fs::path kResources = ALOFT_KIV_RESOURCES;

// What becomes of the file: gone, emptied, cut to its first half, another kind's bytes (a
// sound's under a picture's name and the other way round), a PNG under the TIFF name, and TIFFs
// of 16 bits a sample, of a palette, of grey (the three with unusable pixels), and wider than any
// GL texture may be; and, over the pictures' budget, two of 6000 × 6000 RGBA (138 MB decoded
// each, from files of a few hundred kilobytes) that the game holds at once: Grass.tif and this.
void damage(const fs::path& file, const std::string& kind) {
  const std::string contents = readText(file);
  const fs::path other = kResources / (file.extension() == ".tif" ? "Death2.m4a" : "shadow.tif");
  if (kind == "Missing") fs::remove(file);
  if (kind == "Empty") writeText(file, "");
  if (kind == "Truncated") writeText(file, contents.substr(0, contents.size() / 2));
  if (kind == "OtherKind") writeText(file, readText(other));
  if (kind == "Png") writeText(file, readText(ALOFT_SAMPLE_PNG));
  TiffLayout layout;
  if (kind == "Rgb16Bit") layout.bitsPerSample = 16;
  if (kind == "Palette") layout.samplesPerPixel = 1, layout.photometric = 3;
  if (kind == "Grey") layout.samplesPerPixel = 1, layout.photometric = 1;
  if (kind == "Wide") layout.width = 65537, layout.height = 1;
  if (kind == "OverBudget") layout = {6000, 6000, 4, 8, 2, 1, 8};
  if (kind == "Rgb16Bit" || kind == "Palette" || kind == "Grey" || kind == "Wide" ||
      kind == "OverBudget") {
    fs::remove(file);
    ASSERT_TRUE(writeTiff(file, layout, {}));
  }
  if (kind == "OverBudget") {
    fs::copy_file(file, file.parent_path() / "Grass.tif", fs::copy_options::overwrite_existing);
  }
}

struct BadResource {
  const char* file;
  const char* chart;  // the chart that loads it
  std::string damage;
};

// Long frames reach each load in few of them: the logos end after 6 seconds, then the HARD
// button is clicked and the run's chart loads the shadow.
constexpr const char* kStoredTimes = "{\"Easy\":[0,0,4,2,1,7],\"Hard\":[0,1,0,0,5,0]}\n";

class BadResources : public ::testing::TestWithParam<BadResource> {
 protected:
  void SetUp() override {
    fs::copy(kResources, directory / "kivResources");
    fs::create_directories(directory / "prefs");
    writeText(prefs, kStoredTimes);
    fs::last_write_time(prefs, fs::last_write_time(prefs) - std::chrono::hours(24));
    modified = fs::last_write_time(prefs);
    writeText(script, "16 mouse-move 480 104\n16 mouse-down left\n17 mouse-up left\n");
  }

  ProgramResult play() {
    return runProgram(gameBinary(), {"--headless", "--fixed-step", "0.5", "--frames", "20",
                                     "--resources", directory.path().string(), "--prefs",
                                     prefs.string(), "--script", script.string(), "--record",
                                     (directory / "session.replay").string()});
  }

  void TearDown() override {
    EXPECT_EQ(readText(prefs), kStoredTimes);
    EXPECT_EQ(fs::last_write_time(prefs), modified);
    // The lock file the games share is the only file beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(directory / "prefs"), {}), 2);
  }

  // A '%' in the paths the alerts name: they are printed as they are.
  ScratchDirectory directory{"bad-resources-100%s"};
  fs::path prefs = directory / "prefs" / "preferences.json";
  fs::path script = directory / "click-hard.txt";
  fs::file_time_type modified;
};

TEST_P(BadResources, StopWithTheMessageOfTheDamage) {
  const BadResource& bad = GetParam();
  const fs::path file = directory / "kivResources" / bad.file;
  damage(file, bad.damage);

  const ProgramResult result = play();

  const bool pixels = bad.damage == "Rgb16Bit" || bad.damage == "Palette" || bad.damage == "Grey";
  const std::string message =
      file.extension() == ".m4a" ? "has an invalid sound file with directory " + file.string() + " ."
      : pixels ? "with image in directory " + file.string() + " has an invalid bit per pixel."
      : bad.damage == "OverBudget"
          ? "with image in directory " + file.string() +
                " is too large: 6000 x 6000 pixels take 138 MB decoded, and all pictures loaded "
                "together may take 256 MB (118 MB left)."
          : "with image in directory " + file.string() + " was not found.";
  EXPECT_EQ(result.exitStatus, 1) << result.err;
  // The session so far is written on the way out, the alert's too.
  EXPECT_TRUE(readText(directory / "session.replay").starts_with("aloft-replay")) << result.err;
  // The alert is the last thing the game writes.
  EXPECT_TRUE(result.err.ends_with("Error: The \" " + std::string(bad.chart) + " \" chart " +
                                   message + "\n"))
      << result.err;
}

// Without damage the same frames reach every load and end normally.
TEST_F(BadResources, TheSameRunWithEveryFileWholeEndsNormally) {
  const ProgramResult result = play();
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.err.find("Error:"), std::string::npos) << result.err;
}

// Every file in each way it can be damaged as a whole, in the order the game loads them; the
// ways a picture's pixels can be unusable on the first picture, and the shadow, which only the
// run loads.
std::vector<BadResource> inLoadingOrder() {
  const struct {
    const char* file;
    const char* chart;
    std::vector<const char*> damages;
  } files[] = {
      {"Death2.m4a", "Menus", {}},
      {"TupLogo.tif", "Logos", {"Png", "Rgb16Bit", "Palette", "Grey", "Wide"}},
      {"FennickOGL2.tif", "Logos", {}},
      {"PianoAndPer.m4a", "Menus", {}},
      {"Grass.tif", "Background", {}},
      {"Sky_Day.tif", "Background", {"OverBudget"}},
      {"RobotFont.tif", "Letters", {}},
      {"shadow.tif", "Game", {"Palette"}},
  };
  std::vector<BadResource> cases;
  for (const auto& file : files) {
    for (const char* damage : {"Missing", "Empty", "Truncated", "OtherKind"}) {
      cases.push_back({file.file, file.chart, damage});
    }
    for (const char* damage : file.damages) cases.push_back({file.file, file.chart, damage});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(InLoadingOrder, BadResources, ::testing::ValuesIn(inLoadingOrder()),
                         [](const ::testing::TestParamInfo<BadResource>& each) {
                           std::string name = fs::path(each.param.file).stem().string();
                           std::erase(name, '_');
                           return std::to_string(each.index) + "_" + name +
                                  each.param.damage;
                         });

}  // namespace
