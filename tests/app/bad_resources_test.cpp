// The real game started on a copy of its resources with one file damaged: it stops with the
// message for that kind of damage and exit status 1 when it comes to load the file, and it
// leaves the preference file as it was. The cases run in the order the game loads the files.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "engine/tiff_writer.h"
#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;

const fs::path kResources = ALOFT_KIV_RESOURCES;

// What becomes of the file.
enum class Damage {
  Missing,
  Empty,
  Truncated,           // the first half of it
  OtherKind,           // a sound's bytes under a picture's name, or a picture's under a sound's
  PngBytes,            // a PNG picture under the TIFF name
  Rgb16Bit,            // a TIFF with 16 bits a sample
  Palette,             // an 8-bit palette TIFF
  Grey,                // an 8-bit grey TIFF
  WiderThanATexture,   // an RGB TIFF wider than any GL texture may be
};

void damage(const fs::path& file, Damage kind) {
  const std::string contents = readText(file);
  TiffLayout layout;
  switch (kind) {
    case Damage::Missing: fs::remove(file); return;
    case Damage::Empty: writeText(file, ""); return;
    case Damage::Truncated: writeText(file, contents.substr(0, contents.size() / 2)); return;
    case Damage::OtherKind:
      writeText(file, readText(kResources / (file.extension() == ".tif" ? "Death2.m4a"
                                                                        : "shadow.tif")));
      return;
    case Damage::PngBytes: writeText(file, readText(ALOFT_SAMPLE_PNG)); return;
    case Damage::Rgb16Bit: layout.bitsPerSample = 16; break;
    case Damage::Palette:
      layout.samplesPerPixel = 1;
      layout.photometric = 3;
      break;
    case Damage::Grey:
      layout.samplesPerPixel = 1;
      layout.photometric = 1;
      break;
    case Damage::WiderThanATexture:
      layout.width = 65537;
      layout.height = 1;
      break;
  }
  fs::remove(file);
  ASSERT_TRUE(writeTiff(file, layout, {}));
}

// The alert for each kind of damage, `path` the file as the game names it.
std::string pictureNotFound(const std::string& chart, const std::string& path) {
  return "The \" " + chart + " \" chart with image in directory " + path + " was not found.";
}
std::string pictureLayout(const std::string& chart, const std::string& path) {
  return "The \" " + chart + " \" chart with image in directory " + path +
         " has an invalid bit per pixel.";
}
std::string invalidSound(const std::string& chart, const std::string& path) {
  return "The \" " + chart + " \" chart has an invalid sound file with directory " + path + " .";
}

struct BadResource {
  const char* file;
  const char* chart;  // the chart that loads it
  Damage damage;
  std::function<std::string(const std::string&, const std::string&)> message;
};

void PrintTo(const BadResource& bad, std::ostream* out) { *out << bad.file; }

std::string caseName(const ::testing::TestParamInfo<BadResource>& info) {
  static const char* const kDamages[] = {"Missing", "Empty", "Truncated", "OtherKind", "PngBytes",
                                         "Rgb16Bit", "Palette", "Grey", "WiderThanATexture"};
  std::string name = fs::path(info.param.file).stem().string() + "_" +
                     kDamages[static_cast<int>(info.param.damage)];
  std::erase(name, '_');
  return std::to_string(info.index) + "_" + name;
}

// Long frames reach each load in few of them: the logos end after 6 seconds, then the HARD
// button is clicked and the run's chart loads the shadow.
constexpr const char* kStep = "0.5";
constexpr int kClickFrame = 16;
constexpr int kFrames = 20;
constexpr const char* kStoredTimes = "{\"Easy\":[0,0,4,2,1,7],\"Hard\":[0,1,0,0,5,0]}\n";

class BadResources : public ::testing::TestWithParam<BadResource> {
 protected:
  void SetUp() override {
    fs::copy(kResources, directory / "kivResources");
    fs::create_directories(directory / "prefs");
    prefs = directory / "prefs" / "preferences.json";
    writeText(prefs, kStoredTimes);
    fs::last_write_time(prefs, fs::last_write_time(prefs) - std::chrono::hours(24));
    script = directory / "click-hard.txt";
    const std::string click = std::to_string(kClickFrame);
    writeText(script, click + " mouse-move 480 104\n" + click + " mouse-down left\n" +
                          std::to_string(kClickFrame + 1) + " mouse-up left\n");
  }

  ProgramResult play() {
    return runProgram(gameBinary(),
                      {"--headless", "--fixed-step", kStep, "--frames", std::to_string(kFrames),
                       "--resources", directory.path().string(), "--prefs", prefs.string(),
                       "--script", script.string()});
  }

  void expectPreferencesUntouched(fs::file_time_type modified) {
    EXPECT_EQ(readText(prefs), kStoredTimes);
    EXPECT_EQ(fs::last_write_time(prefs), modified);
    // The lock file the games share is the only file beside it.
    std::set<fs::path> beside;
    for (const auto& entry : fs::directory_iterator(directory / "prefs")) beside.insert(entry.path());
    EXPECT_EQ(beside, (std::set<fs::path>{prefs, prefs.string() + ".lock"}))
        << "a file appeared beside the preferences";
  }

  ScratchDirectory directory{"bad-resources"};
  fs::path prefs;
  fs::path script;
};

TEST_P(BadResources, StopWithTheMessageOfTheDamage) {
  const BadResource& bad = GetParam();
  const fs::path file = directory / "kivResources" / bad.file;
  damage(file, bad.damage);
  const fs::file_time_type modified = fs::last_write_time(prefs);

  const ProgramResult result = play();

  EXPECT_EQ(result.exitStatus, 1) << result.err;
  // The alert is the last thing the game writes.
  EXPECT_TRUE(result.err.ends_with("Error: " + bad.message(bad.chart, file.string()) + "\n"))
      << result.err;
  expectPreferencesUntouched(modified);
}

// Without damage the same frames reach every load and end normally.
TEST_F(BadResources, TheSameRunWithEveryFileWholeEndsNormally) {
  const fs::file_time_type modified = fs::last_write_time(prefs);
  const ProgramResult result = play();
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.err.find("Error:"), std::string::npos) << result.err;
  expectPreferencesUntouched(modified);
}

// Every file in each way it can be damaged as a whole, in the order the game loads them; the
// ways a picture's pixels can be unusable on the first picture, and the shadow, which only the
// run loads.
std::vector<BadResource> inLoadingOrder() {
  using enum Damage;
  const struct {
    const char* file;
    const char* chart;
    std::vector<Damage> damages;
  } files[] = {
      {"Death2.m4a", "Menus", {}},
      {"TupLogo.tif", "Logos", {PngBytes, Rgb16Bit, Palette, Grey, WiderThanATexture}},
      {"FennickOGL2.tif", "Logos", {}},
      {"PianoAndPer.m4a", "Menus", {}},
      {"Grass.tif", "Background", {}},
      {"Sky_Day.tif", "Background", {}},
      {"RobotFont.tif", "Letters", {}},
      {"shadow.tif", "Game", {Palette}},
  };
  std::vector<BadResource> cases;
  for (const auto& file : files) {
    std::vector<Damage> damages{Missing, Empty, Truncated, OtherKind};
    damages.insert(damages.end(), file.damages.begin(), file.damages.end());
    const bool sound = fs::path(file.file).extension() == ".m4a";
    for (const Damage damage : damages) {
      const bool layout = damage == Rgb16Bit || damage == Palette || damage == Grey;
      cases.push_back({file.file, file.chart, damage,
                       sound ? invalidSound : layout ? pictureLayout : pictureNotFound});
    }
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(InLoadingOrder, BadResources, ::testing::ValuesIn(inLoadingOrder()),
                         caseName);

}  // namespace
