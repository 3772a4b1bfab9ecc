// `Menus`, the screen director. The text in `menu` names the screen that runs ("Logo", "Stats" or
// "Game"); each frame is one pass through that screen's arm. A screen that is left releases its
// charts in that pass, and the next screen's charts are created and first updated on the next
// one. `Background` is created on the first stats frame and kept; the music is loaded and started
// then, once; the death sound is rewound and played at the end of every run.
#include "charts/game_charts.h"

chart::ChartSource menusChart() {
  using namespace chart;
  using enum Command;
  return {
      "Menus",
      34,
      {
          {13, "menu"},
          {14, "logos"},
          {15, "logosObj"},
          {16, "gvExitLogos"},
          {17, "stats"},
          {18, "musicNum"},
          {19, "backObj"},
          {20, "statsObj"},
          {21, "gvExitStats"},
          {22, "game"},
          {23, "timeObj"},
          {24, "gameObj"},
          {25, "gvExitGame"},
          {26, "sound"},
          {27, "soundNum"},
          {28, "music"},
          {29, "gvWord"},
          {30, "gvYLetter"},
          {31, "soundTime"},
          {32, "gvRestart"},
          {33, ""},
      },
      {
          // Screen selection.
          {"trunk0_1", decide("menu", "==", "EMPTY"), "branch0_25", "trunk0_2"},
          {"trunk0_2", decide("menu", "==", "logos"), "trunk0_3", "branch0_64"},
          {"branch0_64", junction(), "trunk0_8"},
          {"trunk0_8", decide("menu", "==", "stats"), "trunk0_9", "branch0_65"},
          {"branch0_65", junction(), "trunk0_17"},
          {"trunk0_17", decide("menu", "==", "game"), "trunk0_18", "branch0_68"},
          {"branch0_68", junction(), endOfPass},

          // First frame: the screen names and the death sound; then on into the logos.
          {"branch0_25", appendText("menu", "Logo"), "branch0_26"},
          {"branch0_26", appendText("logos", "Logo"), "branch0_27"},
          {"branch0_27", appendText("stats", "Stats"), "branch0_28"},
          {"branch0_28", appendText("game", "Game"), "branch0_29"},
          {"branch0_29", appendText("sound", "Death2.m4a"), "branch0_30"},
          {"branch0_30", run(Sound_add, {"sound"}, "soundNum"), "branch0_62"},
          {"branch0_62", junction(), "trunk0_2"},

          // Logos screen.
          {"trunk0_3", decide("logosObj", "==", "EMPTY"), "branch0_31", "trunk0_4"},
          {"branch0_31", create("Logos", "logosObj"), "branch0_63"},
          {"branch0_63", junction(), "trunk0_4"},
          {"trunk0_4", run(Object_update_all, {"EMPTY", "logosObj"}), "trunk0_5"},
          {"trunk0_5", run(Global_variable_receive, {"EMPTY"}, "gvExitLogos"), "trunk0_6"},
          {"trunk0_6", decide("gvExitLogos", "==", "YES"), "branch0_32", "trunk0_7"},
          {"trunk0_7", decide("YES", "==", "YES"), endOfPass, endOfPass},
          {"branch0_32", run(Object_add, {"EMPTY"}, "logosObj"), "branch0_33"},
          {"branch0_33", run(Text_remove_all, {"menu"}), "branch0_34"},
          {"branch0_34", run(Text_add, {"stats"}, "menu"), endOfPass},

          // Stats screen.
          {"trunk0_9", decide("musicNum", "==", "EMPTY"), "branch0_35", "trunk0_10"},
          {"branch0_35", appendText("music", "PianoAndPer.m4a"), "branch0_36"},
          {"branch0_36", run(Sound_add, {"music"}, "musicNum"), "branch0_37"},
          {"branch0_37", run(Sound_loop, {"musicNum", "YES"}), "branch0_38"},
          {"branch0_38", run(Sound_play, {"musicNum"}), "branch0_69"},
          {"branch0_69", junction(), "trunk0_10"},
          {"trunk0_10", decide("backObj", "==", "EMPTY"), "branch0_39", "trunk0_11"},
          {"branch0_39", create("Background", "backObj"), endOfPass},
          {"trunk0_11", decide("statsObj", "==", "EMPTY"), "branch0_40", "trunk0_12"},
          {"branch0_40", create("Stats", "statsObj"), "branch0_66"},
          {"branch0_66", junction(), "trunk0_12"},
          {"trunk0_12", run(Object_update_all, {"EMPTY", "backObj"}), "trunk0_13"},
          {"trunk0_13", run(Object_update_all, {"EMPTY", "statsObj"}), "trunk0_14"},
          {"trunk0_14", run(Global_variable_receive, {"EMPTY"}, "gvExitStats"), "trunk0_15"},
          {"trunk0_15", decide("gvExitStats", "==", "YES"), "branch0_41", "trunk0_16"},
          {"trunk0_16", decide("YES", "==", "YES"), endOfPass, endOfPass},
          {"branch0_41", run(Object_add, {"EMPTY"}, "statsObj"), "branch0_42"},
          {"branch0_42", run(Text_remove_all, {"menu"}), "branch0_43"},
          {"branch0_43", run(Text_add, {"game"}, "menu"), endOfPass},

          // Game screen: the time display first (it reads its text and height now), then the run.
          {"trunk0_18", decide("timeObj", "==", "EMPTY"), "branch0_44", "trunk0_19"},
          {"branch0_44", create("Word", "timeObj"), "branch0_45"},
          {"branch0_45", appendText("gvWord", "TIME 00:00.00"), "branch0_46"},
          {"branch0_46", run(Global_variable_send, {"gvWord", "EMPTY"}), "branch0_47"},
          {"branch0_47", equation("gvYLetter = -10"), "branch0_48"},
          {"branch0_48", run(Global_variable_send, {"gvYLetter", "EMPTY"}), "branch0_49"},
          {"branch0_49", run(Object_update_all, {"EMPTY", "timeObj"}), "branch0_50"},
          {"branch0_50", run(Text_remove_all, {"gvWord"}), "branch0_51"},
          {"branch0_51", create("Game", "gameObj"), "branch0_67"},
          {"branch0_67", junction(), "trunk0_19"},
          {"trunk0_19", run(Object_update_all, {"EMPTY", "backObj"}), "trunk0_20"},
          {"trunk0_20", run(Object_update_all, {"EMPTY", "gameObj"}), "trunk0_21"},
          {"trunk0_21", run(Object_update_all, {"EMPTY", "timeObj"}), "trunk0_22"},
          {"trunk0_22", run(Global_variable_receive, {"EMPTY"}, "gvExitGame"), "trunk0_23"},
          {"trunk0_23", decide("gvExitGame", "==", "YES"), "branch0_52", "trunk0_24"},
          {"trunk0_24", decide("YES", "==", "YES"), endOfPass, endOfPass},

          // End of a run.
          {"branch0_52", equation("soundTime = 0"), "branch0_53"},
          {"branch0_53", run(Sound_time_send, {"soundNum", "soundTime"}), "branch0_54"},
          {"branch0_54", run(Sound_play, {"soundNum"}), "branch0_55"},
          {"branch0_55", run(Object_add, {"EMPTY"}, "timeObj"), "branch0_56"},
          {"branch0_56", run(Object_add, {"EMPTY"}, "gameObj"), "branch0_57"},
          {"branch0_57", run(Global_variable_remove_all, {"YES"}), "branch0_58"},
          {"branch0_58", equation("gvRestart = YES"), "branch0_59"},
          {"branch0_59", run(Global_variable_send, {"gvRestart", "EMPTY"}), "branch0_60"},
          {"branch0_60", run(Text_remove_all, {"menu"}), "branch0_61"},
          {"branch0_61", run(Text_add, {"stats"}, "menu"), endOfPass},
      },
  };
}
