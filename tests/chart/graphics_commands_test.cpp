// The graphics commands in small charts, run on the real polygon and texture services in a
// headless GL context.
#include "engine/kiv_textures.h"
#include "engine/matrix.h"
#include "support/chart_test_support.h"
#include "support/gl_test.h"
#include "support/tiff_writer.h"

namespace chart::testing {
namespace {

using Actions = std::vector<NodeAction>;

// Runs `command` on the cell "v" set to `value`.
void with(Actions& actions, Command command, float value) {
  actions.push_back(set("v", value));
  actions.push_back(run(command, {"v"}));
}

// One vertex at (x, y, −1) in the colour `rgba`.
void vertex(Actions& actions, float x, float y, std::array<float, 4> rgba) {
  const std::pair<Command, float> steps[] = {
      {Vertex_x, x},          {Vertex_y, y},         {Vertex_z, -1},        {Color_red, rgba[0]},
      {Color_green, rgba[1]}, {Color_blue, rgba[2]}, {Color_alpha, rgba[3]}};
  for (auto [command, value] : steps) with(actions, command, value);
}

const std::vector<std::string_view> kCells = {"v",    "w",      "h",    "type", "poly",
                                              "pick", "picked", "name", "tex",  "index"};

class GraphicsCommands : public ChartTest {
 protected:
  void SetUp() override {
    ChartTest::SetUp();
    window = openTestWindow(200, 200);
    ASSERT_TRUE(window);
    polygons = std::make_unique<engine::KivPolygons>();
    engine::drawing().stateChanged();
    polygons->state().viewport = {0, 0, 200, 200};
    textures = std::make_unique<engine::KivTextures>();
    services = {services.audio, polygons.get(), textures.get()};
  }
  void TearDown() override {
    ChartTest::TearDown();
    window.reset();
  }

  Chart& chartOf(const Actions& actions, std::string_view name = "Stats") {
    return load({testChart(name, kCells, straight(actions))});
  }
  // A frustum of half-width 0.5 at depth 0.5: (x, y, −1) lands on pixel (100x + 100, 100y + 100).
  void lookAtTheOrigin() const {
    engine::frustum(polygons->state().projection.top(), -0.5f, 0.5f, -0.5f, 0.5f, 0.5f, 10);
  }

  ScratchDirectory scratch{"graphics-commands"};
  std::unique_ptr<platform::Window> window;
  std::unique_ptr<engine::KivPolygons> polygons;
  std::unique_ptr<engine::KivTextures> textures;
};

TEST_F(GraphicsCommands, PolygonAddHandsOverTheCollectedArraysAndPickingFindsThePolygon) {
  Actions actions;
  for (float x : {-1.0f, 1.0f, 0.0f}) vertex(actions, x, x == 0 ? 1 : -1, {1, 0, 0, 1});
  for (auto [s, t] : {std::pair{0.25f, 0.75f}, {0.0f, 0.0f}, {1.0f, 1.0f}}) {
    with(actions, Image_map_x, s);
    with(actions, Image_map_y, t);
  }
  actions.insert(actions.end(),
                 {appendText("type", "Triangles"), run(Polygon_add, {"type"}, "poly"),
                  run(Picking_add, {"poly"}, "pick"), run(Picking_update, {"pick"}, "picked")});
  Chart& chart = chartOf(actions);
  lookAtTheOrigin();
  polygons->pickingPoint(100, 80);
  frames(chart, 1);

  const Cell& index = cell(chart, "poly");
  EXPECT_EQ(index.type, kNumber);
  const engine::PolygonRecord* record = polygons->polygon(std::int32_t(index.math));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->verticesNumber, 9);
  EXPECT_EQ(record->colorsNumber, 12);
  EXPECT_EQ(record->textures[1], -0.75f);
  EXPECT_EQ(chart.deallocArray(Resource::Polygon), std::vector<float>{index.math});
  const Chart::ScratchArrays& collected = chart.scratchArrays();
  EXPECT_TRUE(collected.vertices.empty() && collected.colors.empty() && collected.normals.empty() &&
              collected.textures.empty());
  EXPECT_EQ(cell(chart, "picked").math, index.math);
  EXPECT_EQ(cell(chart, "picked").type, kNumber);
  EXPECT_EQ(chart.deallocArray(Resource::Picking), std::vector<float>{cell(chart, "pick").math});
}

TEST_F(GraphicsCommands, PlacedPolygonsAreDrawnAndThePlacementClosedAfterTheDraw) {
  Actions actions;
  for (auto [x, y] : {std::pair{-0.25f, -0.25f}, {0.25f, -0.25f}, {0.25f, 0.25f}, {-0.25f, 0.25f}})
    vertex(actions, x, y, {0, 1, 0, 1});
  actions.push_back(appendText("type", "TriangleFan"));
  actions.push_back(run(Polygon_add, {"type"}, "poly"));
  with(actions, Move_x, 0.5f);
  with(actions, Rotate_z, 0);
  // An index cell is truncated toward zero: 0.9 past the polygon's index names it.
  actions.insert(actions.end(), {equation("index = poly + 0.9"), run(Polygon_update, {"index"})});
  Chart& chart = chartOf(actions);
  lookAtTheOrigin();
  frames(chart, 1);

  // Moved right by half the picture's half width: x from 0.25 to 0.75, pixels 125 to 175.
  EXPECT_EQ(pixelAt(150, 100), (std::array<int, 4>{0, 255, 0, 255}));
  EXPECT_EQ(pixelAt(100, 100), (std::array<int, 4>{0, 0, 0, 255}));
  EXPECT_EQ(polygons->state().modelView.pushed(), 0u);
  EXPECT_FALSE(polygons->matrixStackPushed());
}

// Blend sets the blend function once per chart; a screen ratio's second term is the width.
TEST_F(GraphicsCommands, BlendDepthAndScreenRatioSetTheirState) {
  const engine::DrawState& state = polygons->state();
  Chart& first = chartOf({run(Blend, {"YES"}), run(Depth, {"NO"})});
  frames(first, 1);
  EXPECT_TRUE(state.alphaBlendFunction);
  EXPECT_TRUE(state.blending);
  EXPECT_FALSE(state.depthTest);
  EXPECT_EQ(cell(first, "CUSTOM_BLEND").math, cell(first, "YES").math);
  polygons->state().alphaBlendFunction = false;
  frames(first, 1);
  EXPECT_FALSE(state.alphaBlendFunction);  // once per chart

  polygons->setViewFrame({0, 0, 200, 200});
  frames(chartOf({run(Blend, {"NO"}), run(Depth, {"YES"}), set("h", 2), set("w", 3),
                  run(Screen_ratio, {"h", "w"})},
                 "Word"),
         1);
  EXPECT_TRUE(state.alphaBlendFunction);
  EXPECT_FALSE(state.blending);
  EXPECT_TRUE(state.depthTest);
  EXPECT_EQ(state.viewport.height, 133);  // a landscape picture: bars above and below
}

TEST_F(GraphicsCommands, ImageAddFindsBareNamesInTheResourceFolderAndClearsTheFilters) {
  std::filesystem::create_directories(scratch / "kivResources");
  for (const char* name : {"Grass.tif", "Sky.tif"})
    ASSERT_TRUE(writeTiff(scratch / "kivResources" / name, {}, std::vector<std::uint8_t>(12, 200)));
  chart::Data::share().setResourcePath(scratch.path());
  // The filters are cleared after an add: the next picture gets the default ones.
  Chart& chart = chartOf(
      {appendText("MIN_FILTER", "LINEAR"), appendText("MAG_FILTER", "NEAREST"),
       appendText("name", "Grass.tif"), run(Image_add, {"name"}, "tex"),
       run(Text_remove_all, {"name"}), appendText("name", "Sky.tif"),
       run(Image_add, {"name"}, "index")},
      "Background");
  frames(chart, 1);

  const auto grass = std::int32_t(cell(chart, "tex").math);
  const auto sky = std::int32_t(cell(chart, "index").math);
  EXPECT_EQ(textures->quantityOf((scratch / "kivResources" / "Grass.tif").string()), 1);
  EXPECT_EQ(chart.deallocArray(Resource::Image), (std::vector<float>{float(grass), float(sky)}));
  EXPECT_EQ(textureParameter(grass, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
  EXPECT_EQ(textureParameter(grass, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
  EXPECT_EQ(textureParameter(sky, GL_TEXTURE_MIN_FILTER), GL_NEAREST_MIPMAP_LINEAR);
  EXPECT_EQ(textureParameter(sky, GL_TEXTURE_MAG_FILTER), GL_LINEAR);

  // An empty name has no path to look in.
  Chart& empty = chartOf({appendText("name", ""), run(Image_add, {"name"}, "tex")}, "Logos");
  EXPECT_EQ(alertOf([&] { frames(empty, 1); }),
            "The Logos chart has an invalid image file with directory  .");
}

}  // namespace
}  // namespace chart::testing
