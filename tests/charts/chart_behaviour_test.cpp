// The game's charts in the real tree on the real engine, some replaced by stand-ins, each run a
// script (chart_run.h). The logos last 600 frames of 0.01 s (the float sum reaches 6 there); the
// screen director shows the stats screen from frame 600, builds the scenery in 601, runs `Stats`
// from 602.
#include "support/chart_run.h"

namespace {

using namespace chart;
using enum Command;

// A stand-in that counts its updates in `updates` and then runs `nodes` (entered at
// "trunk0_3"; none: the pass ends there).
ChartSource countingStandIn(std::string_view name, std::vector<std::string_view> cells,
                            std::vector<NodeSource> nodes = {}) {
  cells.push_back("updates");
  std::vector<NodeSource> all = {
      {"trunk0_1", decide("updates", "==", "EMPTY"), "branch0_1", "trunk0_2"},
      {"branch0_1", set("updates", 0), "trunk0_2"},
      {"trunk0_2", equation("updates = updates + 1"), nodes.empty() ? endOfPass : "trunk0_3"},
  };
  all.insert(all.end(), nodes.begin(), nodes.end());
  return chart::testing::testChart(name, std::move(cells), std::move(all));
}

// A `Start` that sets the 3 : 2 picture like the game's, makes `chart` in the cell "it" on its
// first pass, and updates it every frame; with `camera`, it first publishes a `Camera` as
// gvCamera, as the game's `Start` does.
ChartSource runs(std::string_view chart, bool camera = false) {
  return chart::testing::testChart(
      "Start", {"it", "w", "h", "gvCamera"},
      {{"trunk0_1", set("w", 3), "trunk0_2"},
       {"trunk0_2", set("h", 2), "trunk0_3"},
       {"trunk0_3", run(Screen_ratio, {"h", "w"}), "trunk0_4"},
       {"trunk0_4", decide("it", "==", "EMPTY"), camera ? "branch0_1" : "branch0_3", "trunk0_5"},
       {"branch0_1", create("Camera", "gvCamera"), "branch0_2"},
       {"branch0_2", run(Global_variable_send, {"gvCamera", "EMPTY"}), "branch0_3"},
       {"branch0_3", create(chart, "it"), "trunk0_5"},
       {"trunk0_5", run(Object_update_all, {"EMPTY", "it"}), endOfPass}});
}

// Stand-ins that count their updates; the time display's also keeps what it read, and the text
// as its first update saw it.
std::vector<ChartSource> menusStandIns() {
  return {countingStandIn("Stats", {}), countingStandIn("Game", {}),
          countingStandIn(
              "Word", {"gvWord", "gvYLetter", "firstWord"},
              {{"trunk0_3", run(Global_variable_receive, {"EMPTY"}, "gvWord"), "trunk0_4"},
               {"trunk0_4", run(Global_variable_receive, {"EMPTY"}, "gvYLetter"), "trunk0_5"},
               {"trunk0_5", decide("firstWord", "==", "EMPTY"), "branch0_2", endOfPass},
               {"branch0_2", run(Text_add, {"gvWord"}, "firstWord"), endOfPass}})};
}

// A screen director that takes the camera global in its first pass (receiving a list appends
// to the cell's list), and with `updating` updates the camera once a frame.
ChartSource cameraTaker(bool updating) {
  return countingStandIn(
      "Menus", {"gvCamera"},
      {{"trunk0_3", decide("gvCamera", "==", "EMPTY"), "branch0_2", "trunk0_4"},
       {"branch0_2", run(Global_variable_receive, {"EMPTY"}, "gvCamera"), "trunk0_4"},
       {"trunk0_4", updating ? run(Object_update_all, {"EMPTY", "gvCamera"}) : passThrough(),
        endOfPass}});
}

// The camera at rest: 35 behind, tilted 85 degrees, 15 up.
ChartSource restingCamera() {
  return countingStandIn("Camera", {"zoom", "xAngle", "zHeight"},
                         {{"trunk0_3", set("zoom", -35), "trunk0_4"},
                          {"trunk0_4", set("xAngle", -85), "trunk0_5"},
                          {"trunk0_5", set("zHeight", -15), "trunk0_6"},
                          {"trunk0_6", run(Move_z, {"zoom"}), "trunk0_7"},
                          {"trunk0_7", run(Rotate_x, {"xAngle"}), "trunk0_8"},
                          {"trunk0_8", run(Move_z, {"zHeight"}), endOfPass}});
}

// The game's flyer under a camera at rest.
std::vector<ChartSource> flyer() { return {runs("Game", true), restingCamera()}; }

// The flyer's run in `mode` started with a space in frame 3.
std::string launched(const std::string& mode) {
  return "1 send gvGameType '" + mode + "'\n3 key-down Space\n4 key-up Space\n";
}

// A `Start` that reads the frame's key as a code and as a character, and asks three mouse
// questions.
ChartSource inputReader() {
  return chart::testing::testChart(
      "Start", {"code", "character", "kind", "leftDown", "leftUp", "began"},
      chart::testing::straight(
          {run(Keyboard_down, {"YES"}, "code"), run(Keyboard_down, {"NO"}, "character"),
           appendText("kind", "LeftMouseDown"), run(Mouse_type, {"kind"}, "leftDown"),
           run(Text_remove_all, {"kind"}), appendText("kind", "LeftMouseUp"),
           run(Mouse_type, {"kind"}, "leftUp"), run(Text_remove_all, {"kind"}),
           appendText("kind", "Began"), run(Mouse_type, {"kind"}, "began"),
           run(Text_remove_all, {"kind"})}));
}

// A word's clock that ran, stopped at `run` in `mode` against `stored`.
ChartRun bestTime(const char* name, std::string stored, std::string run, std::string mode,
                  bool saved) {
  const auto digits = [](const std::string& time) {
    return "[" + std::string{time[0], ',', time[1], ',', time[3], ',', time[4], ',', time[6], ','} +
           time[7] + "]";
  };
  return {name,
          {runs("Word")},
          (stored.empty() ? "" : "1 store " + mode + " " + digits(stored) + "\n") +
              "1 send gvWord 'TIME 00:00.00'; send gvYLetter -10; send gvStartTime 1\n" +
              "3 send gvStartTime 0; clock it " + run + "; send gvGameType '" + mode +
              "'; send gvStopTime 1\n3 stored " + mode + " = " + digits(saved ? run : stored) +
              "; stored " + (mode == "Easy" ? "Hard" : "Easy") +
              " = none; global gvExitGame = 1; clock it = " + run + "\n"};
}

// A second climbing in `mode` from the start height 1.5, then turns of `degrees` a frame:
// two frames of 0.01 s, one of 0.05 s, one back the other way.
ChartRun climb(const char* name, std::string mode, double height, int degrees) {
  const auto turned = [&](int frames) { return std::to_string(-frames * degrees); };
  return {name, flyer(),
          launched(mode) + "102 it.yMove = " + std::to_string(height) + "; it.xMove = 0\n" +
              "103 key-down Right\n105 it.zAngle = " + turned(3) + "\n106 step 0.05\n" +
              "107 it.zAngle = " + turned(5) + "\n108 key-down Left; it.zAngle = " + turned(4) +
              "; it.xMove > 0\n"};
}

TEST_P(ChartRunTest, Plays) { play(GetParam().script); }

const ChartRun kRuns[] = {
    // A key gives its code or character; a mouse event empties them, and a mouse kind is yes
    // only while its event is the frame's.
    {"KeysAndMouseEventsReachTheChartsInTheirFrame", {inputReader()}, R"(
      1 key-down Right; code = '0xf703'; character = ')"
     "\xef\x9c\x83"
     R"('
      2 key-up Right; key-down a; code = '0x61'; character = 'a'
      3 key-up a; mouse-down left; code = empty; character = empty; leftDown = 1
      3 leftUp = 0; began = 0
      4 code = empty
      5 mouse-up left; leftDown = 0; leftUp = 1; began = 0
      6 mouse-down right; leftDown = 0; leftUp = 0
      7 key-down Left; leftDown = 0; began = 0)"},
    {"TheLogosRunUntilTheySayTheyAreDoneThenTheStatsScreenBuildsItsScenery", menusStandIns(), R"(
      1 menus.menu = 'Logo'; menus.logosObj.totalTime = 0.01; menus.sound = 'Death2.m4a'
      1 sound menus.soundNum = stopped 0
      302 polygons = 2; textures = 2
      599 menus.menu = 'Logo'; global gvExitLogos = none
      600 menus.menu = 'Stats'; menus.logosObj = empty; menus.musicNum = empty; polygons = 0
      600 textures = 0; global gvExitLogos = 1
      601 sound menus.musicNum = playing 0; menus.backObj.total = empty; menus.statsObj = empty
      602 menus.statsObj.updates = 1; menus.backObj.total = 4; polygons = 2; textures = 2
      602 menus.backObj.imageName = 'Grass.tif'; menus.backObj.aImageName = 'Sky_Day.tif'
      602 menus.backObj.gvCamera = [Camera]
      607 menus.statsObj.updates = 6
      652 polygons = 2; textures = 2)"},
    {"OnlyTheNumberOneEndsTheLogos", menusStandIns(), R"(
      1 send gvExitLogos '1'
      6 send gvExitLogos 0
      11 send gvExitLogos 2
      15 menus.menu = 'Logo'; menus.logosObj.totalTime = 0.15
      16 send gvExitLogos 1; menus.menu = 'Stats'; menus.logosObj = empty)"},
    {"ARunStartsTheFrameAfterTheClickAndEndsRewindingTheDeathSound", menusStandIns(), R"(
      604 send gvExitStats 1; menus.menu = 'Game'; menus.statsObj = empty; menus.timeObj = empty
      604 menus.gameObj = empty
      605 menus.timeObj.updates = 2; menus.gameObj.updates = 1
      605 menus.timeObj.firstWord = 'TIME 00:00.00'; menus.timeObj.gvYLetter = -10
      605 menus.timeObj.gvWord = ''; menus.backObj.total = 4
      606 menus.timeObj.updates = 3; menus.gameObj.updates = 2
      607 seek menus.soundNum 1; send gvExitGame 1
      607 menus.menu = 'Stats'; menus.timeObj = empty; menus.gameObj = empty
      607 menus.statsObj = empty; sound menus.soundNum = playing 0; globals = 1
      607 global gvRestart = 1
      608 global gvRestart = none; global gvCamera = [Camera]; menus.statsObj.updates = 1
      608 sound menus.musicNum = playing 0; polygons = 2
      609 send gvExitStats 1
      610 menus.timeObj.firstWord = 'TIME 00:00.00')"},
    {"TheLogosChangePicturesAtThreeAndSixSecondsAndTheBuildingFramesDrawNothing",
     {runs("Logos")},
     R"(
      1 drawn = no; it.imageName = 'TupLogo.tif'; it.zMove = -5
      2 drawn = yes
      300 drawn = yes; global gvExitLogos = none
      301 drawn = no; it.imageName = 'FennickOGL2.tif'; it.zMove = -3
      302 drawn = yes
      599 drawn = yes; global gvExitLogos = none
      600 drawn = no; global gvExitLogos = 1
      601 remove gvExitLogos
      605 global gvExitLogos = 1; polygons = 2; textures = 2)"},
    {"AFirstLogosFrameOfThreeSecondsBuildsTheSecondPictureAtOnce", {runs("Logos")}, R"(
      1 step 3; drawn = no; it.total = empty; it.imageName = 'FennickOGL2.tif'; polygons = 1
      1 textures = 1
      2 step 0.01; drawn = yes; global gvExitLogos = none)"},
    {"AFirstLogosFrameOfSixSecondsEndsAtOnceAndBuildsNothing", {runs("Logos")}, R"(
      1 step 6
      1 drawn = no; global gvExitLogos = 1; it.total = empty; it.aTotal = empty; polygons = 0
      1 textures = 0)"},
    {"ALogosFrameThatJumpsPastSixSecondsSkipsTheSecondPicture", {runs("Logos")}, R"(
      3 step 5.99; global gvExitLogos = 1; it.aTotal = empty; it.imageName = 'TupLogo.tif')"},
    {"StartPublishesTheCameraBeforeTheDirectorRunsAndNeverUpdatesIt", {cameraTaker(false)}, R"(
      1 gvCamera = [Camera]; menus = [Menus]; menus.updates = 1; menus.gvCamera = [Camera]
      1 global gvCamera = [Camera]; gvCamera.dKey = empty; width = 3; height = 2
      3 menus.updates = 3; gvCamera = [Camera]; menus = [Menus])"},
    {"OnlyTheNumberOneIsARestartWhichPublishesTheCameraOnce", {cameraTaker(false)}, R"(
      2 remove gvCamera; send gvRestart 0; global gvCamera = none; global gvRestart = 0
      3 send gvRestart '1'; global gvCamera = none; global gvRestart = '1'
      4 send gvRestart 1; global gvCamera = [Camera]; gvCamera = [Camera]; global gvRestart = none
      4 gvRestart = empty
      5 remove gvCamera; global gvCamera = none)"},
    // Each held key moves one of the camera's values by 25 times the frame length an update;
    // capitals and other keys move nothing; the first update after a resume has no length.
    {"TheCameraMovesWhileItsKeysAreHeld", {cameraTaker(true)}, R"(
      1 camera gvCamera = matches; gvCamera.zoom = -35; gvCamera.xAngle = -85
      1 gvCamera.zHeight = -15; gvCamera.dKey = 'd'; gvCamera.eKey = 'e'; gvCamera.key = empty
      2 key-down d
      12 key-up d; gvCamera.zHeight = -12.5
      13 key-down a
      23 key-up a; gvCamera.zHeight = -15
      24 key-down e
      34 key-up e; gvCamera.zoom = -32.5
      35 key-down q
      45 key-up q; gvCamera.zoom = -35
      46 key-down w
      56 key-up w; gvCamera.xAngle = -82.5
      57 key-down s
      67 key-up s; gvCamera.xAngle = -85
      68 key-down D
      69 key-up D; key-down Right
      70 key-up Right; key-down x
      71 key-up x
      75 gvCamera.zoom = -35; gvCamera.xAngle = -85; gvCamera.zHeight = -15
      75 gvCamera.time = 0.01; camera gvCamera = matches
      80 key-down d
      81 gvCamera.zHeight = -14.5
      82 pause; gvCamera.zHeight = -14.5; gvCamera.time = 0
      83 gvCamera.zHeight = -14.25; camera gvCamera = matches)"},
    {"TheBackgroundRunsTheCameraBeforeEachOfItsTwoPolygons", {countingStandIn("Stats", {})}, R"(
      604 key-down d
      614 key-up d; gvCamera.zHeight = -10)"},
    {"TheSetUpPassDrawsNothingThenTheFlyerWaitsForAKeyWhichStartsTheRunInItsFrame", flyer(),
     R"(
      1 send gvGameType 'Hard'; drawn = no
      2 drawn = yes; it.yMove = 1.5; it.xMove = 0; it.zAngle = 0; gvCamera.updates = 2
      202 it.yMove = 1.5; it.xMove = 0; it.time = empty; global gvStartTime = none
      203 key-down Space; global gvStartTime = 1; it.yMove = 1.68
      204 key-up Space; remove gvStartTime; global gvStartTime = none; it.yMove = 1.86)"},
    // A whole second flying: the mode's speed in units; the arrows turn a fixed step a frame
    // whatever its length.
    climb("EasyClimbsAtEightAndTurnsTwoDegrees", "Easy", 9.5, 2),
    climb("HardClimbsAtEighteenAndTurnsFiveDegrees", "Hard", 19.5, 5),
    {"TheCeilingAndTheWallsHold", flyer(), launched("Hard") + R"(
      304 it.yMove = 30; global gvStopTime = none
      305 set it.zAngle 90; set it.xMove -25.22; it.xMove = -25
      306 set it.zAngle -90; set it.xMove 24.9; it.xMove = 25; it.yMove = 30)"},
    // Launched above 3 by frame 14 (3.66), nose down from 15: 3.48, 3.30, 3.12, then the ground.
    {"ComingBackDownToThreeAfterLaunchEndsTheRun", flyer(), launched("Hard") + R"(
      15 set it.zAngle 180
      17 global gvStopTime = none
      18 global gvStopTime = 1; it.yMove = 3)"},
    {"SinkingBeforeLaunchDoesNotEndTheRun", flyer(), launched("Easy") + R"(
      5 set it.zAngle 180
      104 it.yMove < 0; global gvStopTime = none)"},
    {"StatsShowsNoneForBothModesWhenNothingIsStored", {runs("Stats")}, R"(
      1 it.statsWords#0.gvWord = 'HARD'; it.statsWords#0.letters.gvYLetter = 7.5
      1 it.statsWords#1.gvWord = 'TIME NONE'; it.statsWords#1.letters.gvYLetter = 2.5
      1 it.statsWords#2.gvWord = 'EASY'; it.statsWords#2.letters.gvYLetter = -2.5
      1 it.statsWords#3.gvWord = 'TIME NONE'; it.statsWords#3.letters.gvYLetter = -7.5
      1 global gvWord = 'TIME NONE'; global gvYLetter = -7.5)"},
    {"StatsShowsStoredTimesAsMinutesSecondsHundredths", {runs("Stats")}, R"(
      1 store Hard [0, 1, 2, 3, 4, 5]; store Easy [0, 0, 0, 0, 0, 0]
      3 it.statsWords#1.gvWord = 'TIME 01:23.45'; it.statsWords#3.gvWord = 'TIME 00:00.00')"},
    {"AStoredListShorterThanSixIsFatal", {runs("Stats")}, R"(
      1 store Easy [0, 1, 2]
      1 alert = There is an error in a Chart Object named: Stats|The error is inside a function named: Object_selected_object|The variable with the function is named: easyPrefs|The index of 3 is outside a valid index of 0 to 2.)"},
    // Window points of 480 x 320 between the panels, then over HARD; over EASY.
    {"OnlyALeftPressOverAPanelCountsAndHardChoosesHard", {runs("Stats")}, R"(
      2 mouse-move 240 124; mouse-down left
      3 mouse-up left; mouse-move 240 52
      4 mouse-down right
      5 mouse-up right
      105 global gvGameType = none; global gvExitStats = none
      106 mouse-down left; global gvGameType = 'Hard'; global gvExitStats = 1)"},
    {"ALeftPressOverEasyChoosesEasy", {runs("Stats")}, R"(
      2 mouse-move 240 196; mouse-down left; global gvGameType = 'Easy'; global gvExitStats = 1)"},
    // One hundredth a frame of 0.01 s or less, and a long frame still counts one.
    {"TheClockAdvancesOneHundredthPerTenMillisecondsOfFrames", {runs("Word")}, R"(
      1 send gvWord 'TIME 00:00.00'; send gvYLetter -10
      6 it.addTime = empty
      7 send gvStartTime 1
      256 clock it = 00:02.50
      257 step 0.005
      356 clock it = 00:03.00
      357 step 0.25; clock it = 00:03.01)"},
    {"AllCarriesHappenInOnePassAndTheClockStopsAtItsLimit", {runs("Word")}, R"(
      1 send gvWord 'TIME 00:00.00'; send gvYLetter -10; send gvStartTime 1
      2 clock it 00:49.99; clock it = 00:50.00
      3 clock it 09:59.99; clock it = 10:00.00
      4 clock it 99:59.99; clock it = 99:59.99; global gvStartTime = none
      14 clock it = 99:59.99
      15 send gvStartTime 1
      24 clock it = 99:59.99)"},
    bestTime("ALongerEasyTimeReplacesTheStoredOne", "01:02.03", "01:02.04", "Easy", true),
    bestTime("AShorterEasyTimeDoesNot", "01:02.03", "00:59.99", "Easy", false),
    bestTime("AFirstEasyTimeIsStored", "", "00:00.01", "Easy", true),
    bestTime("AHardTimeOfTenMinutesReplacesTheStoredOne", "00:10.00", "10:00.00", "Hard", true),
    {"AClockThatNeverRanSavesNothingButEndsTheRunAndALineIsCentredOnItsLength", {runs("Word")}, R"(
      1 send gvWord 'ABCDEFGHIJKLM'; send gvYLetter -10
      1 it.gvLength = -12; it.letters.gvLength = -12; it.letters.gvYLetter = -10
      1 global gvLoad = none
      2 send gvGameType 'Easy'; send gvStopTime 1
      2 stored Easy = none; stored Hard = none; global gvExitGame = 1)"},
    // Letters told a text character by character, then finished at the centre, as a word
    // drives them: each glyph is cut from its cell of the 8 x 8 sheet, a blank leaves a gap.
    {"ACharacterIsCutFromItsCellABlankLeavesAGapAndASwapRewritesOneGlyphDrawingNothing",
     {runs("Letters")}, R"(
      1 send gvIndex 0; send gvLetter 'A'; it.row = 5; it.col = 1
      2 send gvIndex 1; send gvLetter 'B'
      3 send gvIndex 2; send gvLetter ' '
      4 send gvIndex 3; send gvLetter '0'; it.row = 2; it.col = 8
      5 send gvLoad 'Load'; send gvLength 0; send gvYLetter 0
      5 glyphs it.polyNum = 3; glyph it.polyNum 0 = 0 0 0.125 0.375 0.5
      5 glyph it.polyNum 1 = 2 0.125 0.25 0.375 0.5; glyph it.polyNum 2 = 6 0.875 1 0.75 0.875
      6 send gvReplace 'D'; send gvIndex 1
      6 drawn = no; global gvReplace = none; glyph it.polyNum 0 = 0 0 0.125 0.375 0.5
      6 glyph it.polyNum 1 = 2 0.375 0.5 0.375 0.5; glyph it.polyNum 2 = 6 0.875 1 0.75 0.875
      7 drawn = yes)"},
    {"ALastCharacterThatIsABlankLeavesTheWordUnbuilt", {runs("Letters")}, R"(
      1 send gvIndex 0; send gvLetter 'A'
      2 send gvIndex 1; send gvLetter ' '
      3 send gvLoad 'Load'; send gvLength 0; send gvYLetter 0
      4 it.polyNum = empty; drawn = no; global gvLoad = 'Load')"},
};

INSTANTIATE_TEST_SUITE_P(Charts, ChartRunTest, ::testing::ValuesIn(kRuns),
                         [](const ::testing::TestParamInfo<ChartRun>& entry) {
                           return std::string(entry.param.name);
                         });

}  // namespace
