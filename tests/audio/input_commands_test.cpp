// The input commands of the chart language, fed through the real event path: scripted input
// enters SDL's queue, the view takes it for the frame, and a chart reads it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "chart/chart.h"
#include "support/recording_services.h"
#include "chart/registry.h"
#include "chart/utf16.h"
#include "support/headless_view.h"

namespace chart {
namespace {

using enum Command;

// Every frame: the key as a code and as a character, and three mouse questions.
ChartSource reader() {
  ChartSource source{"Reader", 0, {}, {}};
  for (std::string_view name : {"code", "character", "kind", "leftDown", "leftUp", "began", ""}) {
    source.cells.push_back({kBuiltinCellCount + int(source.cells.size()), name});
  }
  source.cellCount = kBuiltinCellCount + int(source.cells.size());
  source.nodes = {
      {"trunk0_1", run(Keyboard_down, {"YES"}, "code"), "trunk0_2"},
      {"trunk0_2", run(Keyboard_down, {"NO"}, "character"), "trunk0_3"},
      {"trunk0_3", gets("kind", "LeftMouseDown"), "trunk0_4"},
      {"trunk0_4", run(Mouse_type, {"kind"}, "leftDown"), "trunk0_5"},
      {"trunk0_5", run(Text_remove_all, {"kind"}), "trunk0_6"},
      {"trunk0_6", gets("kind", "LeftMouseUp"), "trunk0_7"},
      {"trunk0_7", run(Mouse_type, {"kind"}, "leftUp"), "trunk0_8"},
      {"trunk0_8", run(Text_remove_all, {"kind"}), "trunk0_9"},
      {"trunk0_9", gets("kind", "Began"), "trunk0_10"},
      {"trunk0_10", run(Mouse_type, {"kind"}, "began"), "trunk0_11"},
      {"trunk0_11", run(Text_remove_all, {"kind"}), endOfPass},
  };
  return source;
}

class InputCommands : public HeadlessView {
 protected:
  void SetUp() override {
    HeadlessView::SetUp();
    registry = std::make_unique<Registry>(std::vector<ChartSource>{reader()});
    chart = registry->create("Reader", recording.services());
  }
  void TearDown() override {
    Chart::release(chart);
    HeadlessView::TearDown();
  }

  // One frame of the game with `script`'s input, then the reader, which sees the event that
  // frame's charts saw.
  void frame(InputScript& script) {
    step(&script);
    chart->update(kDefaultSnippet);
  }
  std::string text(std::string_view name) {
    const Cell& found = cell(name);
    if (found.type == kEmpty) return "(empty)";
    return found.text != nullptr ? toUtf8(found.text->units) : "(no text)";
  }
  bool yes(std::string_view name) {
    const Cell& found = cell(name);
    EXPECT_EQ(found.type, kNumber) << name;
    return found.math == chart->cell(kYes).math;
  }
  const Cell& cell(std::string_view name) {
    const auto& names = chart->program().cellNames;
    for (std::size_t at = 0; at < names.size(); ++at) {
      if (names[at] == name) return chart->cell(std::uint16_t(at));
    }
    ADD_FAILURE() << "no cell " << name;
    return chart->cell(kEmptyConstant);
  }

  RecordingServices recording;
  std::unique_ptr<Registry> registry;
  Chart* chart = nullptr;
};

TEST_F(InputCommands, KeysGiveTheirCodeOrCharacterAndAMouseEventEmptiesThem) {
  InputScript script = scriptOf(
      "1 key-down Right\n2 key-up Right\n2 key-down a\n3 key-up a\n3 mouse-down left\n");
  frame(script);
  EXPECT_EQ(text("code"), "0xf703");
  EXPECT_EQ(text("character"), "\xef\x9c\x83");  // U+F703 itself
  frame(script);
  EXPECT_EQ(text("code"), "0x61");
  EXPECT_EQ(text("character"), "a");
  frame(script);
  EXPECT_EQ(text("code"), "(empty)");
  EXPECT_EQ(text("character"), "(empty)");
  frame(script);
  EXPECT_EQ(text("code"), "(empty)") << "a key must not come back with the mouse still current";
}

TEST_F(InputCommands, MouseKindsAreYesOnlyWhileTheirEventIsCurrent) {
  InputScript script = scriptOf(
      "1 mouse-down left\n2 mouse-up left\n3 mouse-down right\n4 key-down Left\n");
  frame(script);
  EXPECT_TRUE(yes("leftDown"));
  EXPECT_FALSE(yes("leftUp"));
  EXPECT_FALSE(yes("began"));
  frame(script);
  EXPECT_FALSE(yes("leftDown"));
  EXPECT_TRUE(yes("leftUp"));
  EXPECT_FALSE(yes("began"));
  frame(script);
  EXPECT_FALSE(yes("leftDown"));
  EXPECT_FALSE(yes("leftUp"));
  frame(script);
  EXPECT_FALSE(yes("leftDown"));
  EXPECT_FALSE(yes("began"));
}

}  // namespace
}  // namespace chart
