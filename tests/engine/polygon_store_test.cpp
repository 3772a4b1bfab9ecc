// The polygon store: indexes, the checks on added and replaced data, the stored floats, and the
// one-level matrix stack.
#include "support/gl_test.h"

namespace {

const Floats kTriangle = {0, 0, 0, 1, 0, 0, 0, 1, 0};

class PolygonStore : public GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    polygons->setActiveChart("Word");
  }

  std::int32_t add(std::string_view type, const Floats& vertices, const Floats& colors = {},
                   const Floats& normals = {}, const Floats& textures = {}) {
    return polygons->addPolygonsType(type, vertices, colors, normals, textures);
  }
};

TEST_F(PolygonStore, IndexesCountFromZeroAndAreNeverReusedAndTypesNameTheirModes) {
  EXPECT_EQ(add("Triangles", kTriangle), 0);
  EXPECT_EQ(add("Triangles", kTriangle), 1);
  polygons->removePolygons(0);
  polygons->removePolygons(7);  // unknown: ignored
  EXPECT_EQ(polygons->polygon(0), nullptr);
  EXPECT_NE(polygons->polygon(1), nullptr);
  EXPECT_EQ(add("Triangles", kTriangle), 2);

  const std::pair<const char*, GLenum> types[] = {
      {"Points", GL_POINTS},           {"Lines", GL_LINES},
      {"LineLoop", GL_LINE_LOOP},      {"LineStrip", GL_LINE_STRIP},
      {"Triangles", GL_TRIANGLES},     {"TriangleStrip", GL_TRIANGLE_STRIP},
      {"TriangleFan", GL_TRIANGLE_FAN}};
  for (auto [name, mode] : types) EXPECT_EQ(polygons->polygon(add(name, kTriangle))->type, mode);
}

TEST_F(PolygonStore, MismatchedListsAndUnknownTypesAreRejected) {
  const std::string opening = "The \" Word \" chart has 3 vertices and ";
  EXPECT_EQ(alertOf([&] { add("Triangles", kTriangle, Floats(11, 1)); }),
            opening + "2 colors. Please use the same amount.");
  EXPECT_EQ(alertOf([&] { add("Triangles", kTriangle, {}, Floats(6, 1)); }),
            opening + "2 normals. Please use the same amount.");
  EXPECT_EQ(alertOf([&] { add("Triangles", kTriangle, Floats(12, 1), {}, Floats(8, 1)); }),
            opening + "4 image coordinates. Please use the same amount.");
  // Rejected lists take no index; an unknown type is reported with the one it would have had.
  EXPECT_EQ(add("Triangles", kTriangle), 0);
  polygons->setActiveChart("Stats");
  EXPECT_EQ(alertOf([&] { add("triangleFan", kTriangle); }),
            "The \" Stats \" chart with polygon index 1 has an invaild polygon type triangleFan.");
}

TEST_F(PolygonStore, ARangeReplacementWritesOnlyItsFloatsOnceAndNegatesTextureTs) {
  const std::int32_t index = add("TriangleStrip", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
  polygons->replaceRange(3, 6);
  polygons->replaceArray(index, Floats{-3, -4, -5, -6, -7, -8}, {}, {}, {});
  EXPECT_EQ(*polygons->polygon(index)->vertices,
            (Floats{0, 1, 2, -3, -4, -5, -6, -7, -8, 9, 10, 11}));
  // The range was used up: the next replacement is a whole one again.
  polygons->replaceArray(index, Floats(12, 1), {}, {}, {});
  EXPECT_EQ(*polygons->polygon(index)->vertices, Floats(12, 1));

  const std::int32_t textured = add("TriangleFan", kTriangle, {}, {}, Floats(6, 0));
  polygons->replaceRange(2, 4);
  polygons->replaceArray(textured, {}, {}, {}, Floats{0.5f, 0.25f, 1, 0.75f});
  EXPECT_EQ(polygons->polygon(textured)->textures, (Floats{0, 0, 0.5f, -0.25f, 1, -0.75f}));
  // Started at an odd float, the list still lands with its t values negated.
  polygons->replaceRange(3, 2);
  polygons->replaceArray(textured, {}, {}, {}, Floats{0.5f, 1});
  EXPECT_EQ(polygons->polygon(textured)->textures, (Floats{0, 0, 0.5f, -0.5f, 1, -0.75f}));
}

// Whole replacements of the wrong size, and range replacements outside the buffer or with more
// data than the range: each list kind is named, with the function used.
TEST_F(PolygonStore, ReplacementsThatDoNotFitAreReported) {
  ASSERT_EQ(add("Triangles", kTriangle, Floats(12, 1), Floats(9, 1), Floats(6)), 0);
  // Replaces list `kind` (vertices, colours, normals, texture points) of `polygon` over
  // [start, start + length), or whole when `length` is 0.
  const auto replace = [&](int kind, Floats list, std::int32_t start = 0, std::int32_t length = 0,
                           std::int32_t polygon = 0) {
    return alertOf([&] {
      if (length) polygons->replaceRange(start, length);
      std::vector<Floats> lists(4);
      lists[std::size_t(kind)] = std::move(list);
      polygons->replaceArray(polygon, lists[0], lists[1], lists[2], lists[3]);
    });
  };
  const auto wrong = [](std::string kind, std::string function = "") {
    return "0 has an incorrect " + kind + " buffer size when using the Polygon.replace" + function +
           " function.";
  };
  const auto tooBig = [](std::string total) {
    return "0 has a total of " + total + " which is too big for the Polygon.replace function.";
  };
  const std::pair<std::string, std::string> cases[] = {
      // An index with no polygon has nothing of any size.
      {replace(1, Floats(12), 0, 0, 5), "5" + wrong("color").substr(1)},
      {replace(0, Floats(6)), wrong("vertex")},
      {replace(1, Floats(4)), wrong("color")},
      {replace(2, Floats(3)), wrong("lighting normals")},
      {replace(3, Floats(2)), wrong("image map coordinates")},
      {replace(0, Floats(6), 6, 6), wrong("vertex", ".range")},
      {replace(1, Floats(13), 0, 2), tooBig("13 colors")},
      {replace(2, Floats(10), 0, 3), tooBig("10 lighting normals")},
      {replace(3, Floats(4), 4, 4), wrong("image map coordinates", ".range")},
      // A negative start would write before the buffer, a list shorter than the range would be
      // read past its end.
      {replace(1, Floats(2), -1, 2), wrong("color", ".range")},
      {replace(0, Floats(3), 0, 6), wrong("vertex", ".range")},
  };
  for (const auto& [message, ending] : cases) {
    EXPECT_EQ(message, "The \" Word \" chart with polygon index " + ending);
  }
}

TEST_F(PolygonStore, TheMatrixStackPushesAtMostOnceAndPopsOnlyWhenPushed) {
  const engine::MatrixStack& stack = polygons->state().modelView;
  polygons->endMatrixStack();
  EXPECT_EQ(stack.pushed(), 0u);  // no underflow
  polygons->startMatrixStack();
  polygons->translate(1, 2, 3);
  polygons->startMatrixStack();
  EXPECT_EQ(stack.pushed(), 1u);
  EXPECT_EQ(stack.top()[12], 1.0f);
  polygons->endMatrixStack();
  polygons->endMatrixStack();
  EXPECT_EQ(stack.pushed(), 0u);
  EXPECT_EQ(stack.top(), engine::kIdentity);  // the translation is gone with the popped copy
}

}  // namespace
