// `Start`, the root chart: on its first frame it creates the camera and the screen director and
// publishes the camera as `gvCamera`; every frame it publishes the camera again after a run has
// ended (`gvRestart` = 1), keeps the picture at 3 : 2 and passes the frame on to `Menus`.
//
// The decisions on `IPHONE` lead to phone-only arms that this desktop game does not have; the
// constant is always `NO`, so their true outcomes end the pass and are never taken.
#include "charts/game_charts.h"

chart::ChartSource startChart() {
  using namespace chart;
  using enum Command;
  return {
      "Start",
      20,
      {
          {13, "homeButton"},
          {14, "menus"},
          {15, "gvRestart"},
          {16, "height"},
          {17, "width"},
          {18, "gvCamera"},
          {19, ""},
      },
      {
          {"trunk0_1", decide("IPHONE", "==", "YES"), endOfPass, "branch0_24"},
          {"branch0_24", junction(), "trunk0_3"},
          {"trunk0_3", decide("menus", "==", "EMPTY"), "branch0_13", "trunk0_4"},
          {"trunk0_4", run(Global_variable_receive, {"EMPTY"}, "gvRestart"), "trunk0_5"},
          {"trunk0_5", decide("gvRestart", "==", "YES"), "branch0_18", "trunk0_6"},
          {"trunk0_6", decide("IPHONE", "==", "YES"), endOfPass, "trunk0_7"},
          {"trunk0_7", run(Screen_ratio, {"height", "width"}), "trunk0_8"},
          {"trunk0_8", run(Object_update_all, {"EMPTY", "menus"}), endOfPass},

          // First frame: the camera, published before the screen director exists.
          {"branch0_13", create("Camera", "gvCamera"), "branch0_14"},
          {"branch0_14", run(Global_variable_send, {"gvCamera", "EMPTY"}), "branch0_15"},
          {"branch0_15", create("Menus", "menus"), "branch0_16"},
          {"branch0_16", set("width", 3), "branch0_17"},
          {"branch0_17", set("height", 2), "branch0_22"},
          {"branch0_22", junction(), "trunk0_4"},

          // After a run: the same camera again, and the signal taken away.
          {"branch0_18", run(Global_variable_send, {"gvCamera", "EMPTY"}), "branch0_19"},
          {"branch0_19", run(Global_variable_remove, {"gvRestart", "EMPTY"}), "branch0_20"},
          {"branch0_20", equation("gvRestart = EMPTY"), "branch0_23"},
          {"branch0_23", junction(), "trunk0_6"},
      },
  };
}
