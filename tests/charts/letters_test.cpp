#include "engine/kiv_polygons.h"
#include "run_charts_test_support.h"

namespace chart::testing {
namespace {

class LettersTest : public RunChartsTest {
 protected:
  void SetUp() override {
    RunChartsTest::SetUp();
    use({lettersChart()});
  }

  // A `Letters` told `text` character by character and then finished at the centre, depth -20,
  // as its `Word` drives it.
  Chart& typed(std::string_view text) {
    Chart& letters = make("Letters");
    for (std::size_t at = 0; at < text.size(); ++at) {
      sendNumber("gvIndex", float(at));
      sendText("gvLetter", text.substr(at, 1));
      frame(letters);
    }
    sendText("gvLoad", "Load");
    sendNumber("gvLength", 0);
    sendNumber("gvYLetter", 0);
    frame(letters);
    return letters;
  }
  static const engine::PolygonRecord& polygonOf(Chart& letters) {
    const engine::PolygonRecord* polygon =
        KivPolygons::share().polygon(std::int32_t(cell(letters, "polyNum").math));
    EXPECT_NE(polygon, nullptr);
    static const engine::PolygonRecord none;
    return polygon ? *polygon : none;
  }
  // Glyph k's texture cell as (u from, u to, v from, v to); the store keeps t negated.
  static std::array<float, 4> cellOf(const engine::PolygonRecord& polygon, int glyph) {
    const float* st = polygon.textures.data() + glyph * 12;
    return {st[0], st[2], -st[1], -st[5]};
  }
  // The middle of glyph k's six vertices along x.
  static float centreOf(const engine::PolygonRecord& polygon, int glyph) {
    const float* xyz = polygon.vertices->data() + glyph * 18;
    return (xyz[0] + xyz[3]) / 2;
  }
};

using Cell4 = std::array<float, 4>;

TEST_F(LettersTest, ACharacterIsCutFromItsCellOfTheSheet) {
  Chart& a = typed("A");
  EXPECT_EQ(cell(a, "row").math, 5.0f);
  EXPECT_EQ(cell(a, "col").math, 1.0f);
  EXPECT_EQ(cellOf(polygonOf(a), 0), (Cell4{0.0f, 0.125f, 0.375f, 0.5f}));
  Chart& zero = typed("0");
  EXPECT_EQ(cell(zero, "row").math, 2.0f);
  EXPECT_EQ(cell(zero, "col").math, 8.0f);
  EXPECT_EQ(cellOf(polygonOf(zero), 0), (Cell4{0.875f, 1.0f, 0.75f, 0.875f}));
}

TEST_F(LettersTest, ABlankLeavesAGapAndNoGlyph) {
  const engine::PolygonRecord& polygon = polygonOf(typed("AB C"));
  ASSERT_EQ(polygon.verticesNumber, 3 * 18);
  EXPECT_EQ(centreOf(polygon, 0), 0.0f);
  EXPECT_EQ(centreOf(polygon, 1), 2.0f);
  EXPECT_EQ(centreOf(polygon, 2), 6.0f);
  EXPECT_EQ(cellOf(polygon, 2), (Cell4{0.25f, 0.375f, 0.375f, 0.5f}));  // C: row 5, column 3
}

TEST_F(LettersTest, ASwapRewritesOneGlyphAndDrawsNothing) {
  Chart& letters = typed("AB C");
  const std::vector<float> before = polygonOf(letters).textures;
  sendText("gvReplace", "D");
  sendNumber("gvIndex", 1);
  frame(letters);
  EXPECT_EQ(drawnPixels(), 0);
  EXPECT_EQ(global("gvReplace"), nullptr);
  const std::vector<float>& after = polygonOf(letters).textures;
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t at = 0; at < after.size(); ++at) {
    if (at < 12 || at >= 24) {
      EXPECT_EQ(after[at], before[at]) << "float " << at;
    }
  }
  EXPECT_EQ(cellOf(polygonOf(letters), 1), (Cell4{0.375f, 0.5f, 0.375f, 0.5f}));  // D
  frame(letters);
  EXPECT_GT(drawnPixels(), 0);
}

TEST_F(LettersTest, ALastCharacterThatIsABlankLeavesTheWordUnbuilt) {
  Chart& letters = typed("AB ");
  frame(letters);
  EXPECT_EQ(cell(letters, "polyNum").type, kEmpty);
  EXPECT_EQ(drawnPixels(), 0);
  EXPECT_NE(global("gvLoad"), nullptr);
}

}  // namespace
}  // namespace chart::testing
