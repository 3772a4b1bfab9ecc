// `Camera`: places the view of the scene. Each update applies translate(0, 0, zoom) ×
// rotate-x(xAngle) × translate(0, 0, zHeight) to the model-view matrix, for the next polygon the
// updating chart draws; the held keys "d"/"a", "e"/"q" and "w"/"s" move it by 25 units (or
// degrees) a second, one key per update. It draws nothing.
//
// The decision on `IPHONE` leads to a phone-only rotation that this desktop game does not have;
// the constant is always `NO`, so its true outcome ends the pass and is never taken.
#include "charts/game_charts.h"

chart::ChartSource cameraChart() {
  using namespace chart;
  using enum Command;
  return {
      "Camera",
      29,
      {
          {13, "dKey"},
          {14, "zoom"},
          {15, "key"},
          {16, "aKey"},
          {17, "eKey"},
          {18, "qKey"},
          {19, "wKey"},
          {20, "sKey"},
          {21, "xAngle"},
          {22, "zHeight"},
          {23, ""},
          {24, "time"},
          {25, "zHeighttime"},
          {26, "zoomtime"},
          {27, "xAngletime"},
          {28, "iRotate"},
      },
      {
          {"trunk0_1", decide("dKey", "==", "EMPTY"), "branch0_14", "trunk0_2"},
          {"trunk0_2", decide("zoom", "==", "EMPTY"), "branch0_20", "trunk0_3"},
          {"trunk0_3", run(Keyboard_down, {"NO"}, "key"), "trunk0_4"},
          {"trunk0_4", decide("key", "==", "dKey"), "branch0_23", "trunk0_5"},
          {"trunk0_5", decide("key", "==", "aKey"), "branch0_25", "trunk0_6"},
          {"trunk0_6", decide("key", "==", "eKey"), "branch0_27", "trunk0_7"},
          {"trunk0_7", decide("key", "==", "qKey"), "branch0_29", "trunk0_8"},
          {"trunk0_8", decide("key", "==", "wKey"), "branch0_31", "trunk0_9"},
          {"trunk0_9", decide("key", "==", "sKey"), "branch0_33", "trunk0_10"},
          {"trunk0_10", decide("IPHONE", "==", "YES"), endOfPass, "trunk0_11"},
          {"trunk0_11", run(Move_z, {"zoom"}), "trunk0_12"},
          {"trunk0_12", run(Rotate_x, {"xAngle"}), "trunk0_13"},
          {"trunk0_13", run(Move_z, {"zHeight"}), endOfPass},

          // First update: the key texts.
          {"branch0_14", appendText("dKey", "d"), "branch0_15"},
          {"branch0_15", appendText("aKey", "a"), "branch0_16"},
          {"branch0_16", appendText("wKey", "w"), "branch0_17"},
          {"branch0_17", appendText("sKey", "s"), "branch0_18"},
          {"branch0_18", appendText("qKey", "q"), "branch0_19"},
          {"branch0_19", appendText("eKey", "e"), "branch0_37"},
          {"branch0_37", junction(), "trunk0_2"},

          // First update: the starting placement.
          {"branch0_20", set("zoom", -35), "branch0_21"},
          {"branch0_21", set("xAngle", -85), "branch0_22"},
          {"branch0_22", set("zHeight", -15), "branch0_38"},
          {"branch0_38", junction(), "trunk0_3"},

          // The held key moves the camera by the frame's length.
          {"branch0_23", timeSegment("time"), "branch0_24"},
          {"branch0_24", equationInDouble("zHeight = zHeight + time * 25"), "branch0_39"},
          {"branch0_39", junction(), "trunk0_10"},
          {"branch0_25", timeSegment("time"), "branch0_26"},
          {"branch0_26", equationInDouble("zHeight = zHeight + time * -25"), "branch0_40"},
          {"branch0_40", junction(), "trunk0_10"},
          {"branch0_27", timeSegment("time"), "branch0_28"},
          {"branch0_28", equationInDouble("zoom = zoom + time * 25"), "branch0_41"},
          {"branch0_41", junction(), "trunk0_10"},
          {"branch0_29", timeSegment("time"), "branch0_30"},
          {"branch0_30", equationInDouble("zoom = zoom + time * -25"), "branch0_42"},
          {"branch0_42", junction(), "trunk0_10"},
          {"branch0_31", timeSegment("time"), "branch0_32"},
          {"branch0_32", equationInDouble("xAngle = xAngle + time * 25"), "branch0_43"},
          {"branch0_43", junction(), "trunk0_10"},
          {"branch0_33", timeSegment("time"), "branch0_34"},
          {"branch0_34", equationInDouble("xAngle = xAngle + time * -25"), "branch0_44"},
          {"branch0_44", junction(), "trunk0_10"},
      },
  };
}
