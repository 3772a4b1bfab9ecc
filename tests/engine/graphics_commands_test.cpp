// The graphics commands in small charts, run on the real polygon and texture services in a
// headless GL context (or on the recording stand-ins where only the calls matter).
#include <GL/gl.h>

#include <deque>
#include <string>
#include <vector>

#include "chart/chart_test_support.h"
#include "engine/gl_test.h"
#include "engine/kiv_polygons.h"
#include "engine/kiv_textures.h"
#include "engine/tiff_writer.h"

namespace chart::testing {
namespace {

// A straight flow trunk0_1, trunk0_2, ... of the actions given, ending the pass after the last.
class Flow {
 public:
  Flow& then(NodeAction action) {
    actions.push_back(action);
    return *this;
  }
  // Sets the cell "v" to `value` and runs `command` on it.
  Flow& with(Command command, float value) {
    return then(set("v", value)).then(run(command, {"v"}));
  }
  // One vertex of `x`, `y`, −1 and colour r g b a.
  Flow& vertex(float x, float y, std::array<float, 4> rgba) {
    with(Vertex_x, x).with(Vertex_y, y).with(Vertex_z, -1);
    return with(Color_red, rgba[0])
        .with(Color_green, rgba[1])
        .with(Color_blue, rgba[2])
        .with(Color_alpha, rgba[3]);
  }

  std::vector<NodeSource> nodes() {
    std::vector<NodeSource> nodes;
    for (std::size_t at = 0; at < actions.size(); ++at) {
      names.push_back("trunk0_" + std::to_string(at + 1));
    }
    for (std::size_t at = 0; at < actions.size(); ++at) {
      const bool last = at + 1 == actions.size();
      nodes.push_back(
          {names[names.size() - actions.size() + at], actions[at],
           last ? endOfPass : std::string_view(names[names.size() - actions.size() + at + 1])});
    }
    return nodes;
  }

 private:
  std::vector<NodeAction> actions;
  std::deque<std::string> names;
};

const std::vector<std::string_view> kCells = {"v",      "w",    "h",   "type", "poly", "pick",
                                              "picked", "name", "tex", "flag", "index"};

class GraphicsCommands : public ChartTest {
 protected:
  void SetUp() override {
    ChartTest::SetUp();
    window = openTestWindow(200, 200);
    ASSERT_TRUE(window);
    polygons = std::make_unique<KivPolygons>();
    textures = std::make_unique<KivTextures>();
    services = {services.audio, polygons.get(), textures.get()};
  }
  void TearDown() override {
    ChartTest::TearDown();
    window.reset();
  }

  Chart& chartOf(Flow& flow, std::string_view name = "Stats") {
    return load({testChart(name, kCells, flow.nodes())});
  }

  // A 2 × 2 RGB picture at `path`.
  static void writePicture(const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    ASSERT_TRUE(writeTiff(path, {}, std::vector<std::uint8_t>(12, 200)));
  }

  ScratchDirectory scratch;
  std::unique_ptr<platform::Window> window;
  std::unique_ptr<KivPolygons> polygons;
  std::unique_ptr<KivTextures> textures;
};

TEST_F(GraphicsCommands, PolygonAddHandsOverTheCollectedArraysAndEmptiesThem) {
  Flow flow;
  flow.vertex(-1, -1, {1, 0, 0, 1}).vertex(1, -1, {1, 0, 0, 1}).vertex(0, 1, {1, 0, 0, 1});
  flow.with(Image_map_x, 0.25f).with(Image_map_y, 0.75f);
  flow.with(Image_map_x, 0).with(Image_map_y, 0).with(Image_map_x, 1).with(Image_map_y, 1);
  flow.then(gets("type", "Triangles")).then(run(Polygon_add, {"type"}, "poly"));
  Chart& chart = chartOf(flow);
  frames(chart, 1);

  const Cell& index = cell(chart, "poly");
  EXPECT_EQ(index.type, kNumber);
  const engine::PolygonRecord* record = polygons->polygon(std::int32_t(index.math));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->verticesNumber, 9);
  EXPECT_EQ(record->colorsNumber, 12);
  EXPECT_EQ(record->textures[1], -0.75f);
  EXPECT_EQ(chart.deallocArray(Resource::Polygon), std::vector<float>{index.math});
  const Chart::ScratchArrays& scratchArrays = chart.scratchArrays();
  EXPECT_TRUE(scratchArrays.vertices.empty());
  EXPECT_TRUE(scratchArrays.colors.empty());
  EXPECT_TRUE(scratchArrays.normals.empty());
  EXPECT_TRUE(scratchArrays.textures.empty());

  // Teardown gives the polygon back. The index is kept first: the cell goes with the chart.
  const auto polygonIndex = std::int32_t(index.math);
  Chart::release(&chart);
  charts.clear();
  EXPECT_EQ(polygons->polygon(polygonIndex), nullptr);
}

TEST_F(GraphicsCommands, PlacedPolygonsAreDrawnAndThePlacementClosedAfterTheDraw) {
  Flow flow;
  for (auto [x, y] :
       {std::pair{-0.25f, -0.25f}, {0.25f, -0.25f}, {0.25f, 0.25f}, {-0.25f, 0.25f}}) {
    flow.vertex(x, y, {0, 1, 0, 1});
  }
  flow.then(gets("type", "TriangleFan")).then(run(Polygon_add, {"type"}, "poly"));
  flow.with(Move_x, 0.5f).with(Rotate_z, 0).then(run(Polygon_update, {"poly"}));
  Chart& chart = chartOf(flow);
  glMatrixMode(GL_PROJECTION);
  glFrustum(-0.5, 0.5, -0.5, 0.5, 0.5, 10);
  glMatrixMode(GL_MODELVIEW);
  frames(chart, 1);

  // Moved right by half the picture's half width: x from 0.25 to 0.75, pixels 125 to 175.
  EXPECT_EQ(pixelAt(150, 100), (std::array<int, 4>{0, 255, 0, 255}));
  EXPECT_EQ(pixelAt(100, 100), (std::array<int, 4>{0, 0, 0, 255}));
  GLint depth = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1);
  EXPECT_FALSE(polygons->matrixStackPushed());
}

TEST_F(GraphicsCommands, IndexCellsAreTruncatedTowardZero) {
  services = recording.services();
  Flow flow;
  flow.with(Polygon_update, 2.9f).with(Polygon_update, -0.5f).with(Image_update, 3.99f);
  Chart& chart = chartOf(flow);
  recording.calls.clear();
  frames(chart, 1);
  using Call = RecordingServices::Call;
  const std::vector<Call> expected = {
      {"audio.setActiveChart", "Stats", 0},    {"polygons.setActiveChart", "Stats", 0},
      {"textures.setActiveChart", "Stats", 0}, {"polygons.updatePolygon", "", 2},
      {"polygons.endMatrixStack", "", 0},      {"polygons.updatePolygon", "", 0},
      {"polygons.endMatrixStack", "", 0},      {"textures.bindTexture", "", 3}};
  EXPECT_EQ(recording.calls, expected);
}

TEST_F(GraphicsCommands, BlendSetsTheBlendFunctionOncePerChart) {
  auto blendSource = [] {
    GLint source = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    return source;
  };
  Flow flow;
  flow.then(run(Blend, {"YES"}));
  Chart& first = chartOf(flow);
  glBlendFunc(GL_ONE, GL_ZERO);
  frames(first, 1);
  EXPECT_EQ(blendSource(), GL_SRC_ALPHA);
  EXPECT_EQ(glIsEnabled(GL_BLEND), GL_TRUE);
  EXPECT_EQ(cell(first, "CUSTOM_BLEND").math, cell(first, "YES").math);

  glBlendFunc(GL_ONE, GL_ZERO);
  frames(first, 1);
  EXPECT_EQ(blendSource(), GL_ONE);

  Flow off;
  off.then(run(Blend, {"NO"}));
  Chart& second = chartOf(off, "Word");
  frames(second, 1);
  EXPECT_EQ(blendSource(), GL_SRC_ALPHA);
  EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
}

TEST_F(GraphicsCommands, DepthSwitchesTheDepthTestAndTellsThePolygonService) {
  Flow flow;
  flow.then(run(Depth, {"NO"}));
  frames(chartOf(flow), 1);
  EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_FALSE);
  EXPECT_FALSE(polygons->depthTestEnabled());

  Flow on;
  on.then(run(Depth, {"YES"}));
  frames(chartOf(on), 1);
  EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_TRUE);
  EXPECT_TRUE(polygons->depthTestEnabled());
}

TEST_F(GraphicsCommands, ScreenRatioTakesTheSecondTermAsTheWidth) {
  polygons->setViewFrame({0, 0, 200, 200});
  Flow flow;
  flow.then(set("h", 2)).then(set("w", 3)).then(run(Screen_ratio, {"h", "w"}));
  frames(chartOf(flow), 1);
  EXPECT_EQ(polygons->viewportRatio().width, 3);
  EXPECT_EQ(polygons->viewportRatio().height, 2);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[3], 133);  // a landscape picture: bars above and below
}

TEST_F(GraphicsCommands, PickingTellsWhichPolygonIsUnderThePointer) {
  Flow flow;
  flow.vertex(-0.5f, -0.5f, {1, 1, 1, 1}).vertex(0.5f, -0.5f, {1, 1, 1, 1});
  flow.vertex(0, 0.5f, {1, 1, 1, 1});
  flow.then(gets("type", "Triangles")).then(run(Polygon_add, {"type"}, "poly"));
  flow.then(run(Picking_add, {"poly"}, "pick")).then(run(Picking_update, {"pick"}, "picked"));
  Chart& chart = chartOf(flow);
  glMatrixMode(GL_PROJECTION);
  glFrustum(-0.5, 0.5, -0.5, 0.5, 0.5, 10);
  glMatrixMode(GL_MODELVIEW);
  polygons->pickingPoint(100, 80);
  frames(chart, 1);
  EXPECT_EQ(cell(chart, "picked").math, cell(chart, "poly").math);
  EXPECT_EQ(cell(chart, "picked").type, kNumber);
  EXPECT_EQ(chart.deallocArray(Resource::Picking), std::vector<float>{cell(chart, "pick").math});
}

TEST_F(GraphicsCommands, ImageAddFindsBareNamesInTheResourceFolderAndClearsTheFilters) {
  writePicture(scratch.path() / "kivResources" / "Grass.tif");
  Data::share().setResourcePath(scratch.path());
  Flow flow;
  flow.then(gets("MIN_FILTER", "LINEAR")).then(gets("MAG_FILTER", "NEAREST"));
  flow.then(gets("name", "Grass.tif")).then(run(Image_add, {"name"}, "tex"));
  // The filters were cleared: the next picture gets the default ones.
  writePicture(scratch.path() / "kivResources" / "Sky.tif");
  flow.then(run(Text_remove_all, {"name"})).then(gets("name", "Sky.tif"));
  flow.then(run(Image_add, {"name"}, "index"));
  Chart& chart = chartOf(flow, "Background");
  frames(chart, 1);

  const auto index = std::int32_t(cell(chart, "tex").math);
  const auto sky = std::int32_t(cell(chart, "index").math);
  EXPECT_EQ(textures->quantityOf((scratch.path() / "kivResources" / "Grass.tif").string()), 1);
  EXPECT_EQ(chart.deallocArray(Resource::Image), (std::vector<float>{float(index), float(sky)}));
  EXPECT_EQ(textureParameter(index, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
  EXPECT_EQ(textureParameter(index, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
  EXPECT_EQ(textureParameter(sky, GL_TEXTURE_MIN_FILTER), GL_NEAREST_MIPMAP_LINEAR);
  EXPECT_EQ(textureParameter(sky, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
}

TEST_F(GraphicsCommands, ImageAddOfAnEmptyNameHasNoPath) {
  Flow flow;
  flow.then(gets("name", "")).then(run(Image_add, {"name"}, "tex"));
  Chart& chart = chartOf(flow, "Logos");
  EXPECT_EQ(alertOf([&] { frames(chart, 1); }),
            "The Logos chart has an invalid image file with directory  .");
}

}  // namespace
}  // namespace chart::testing
