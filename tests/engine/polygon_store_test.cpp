// The polygon store: indexes, the checks on added and replaced data, the stored floats, and the
// one-level matrix stack.
#include <GL/gl.h>

#include <memory>
#include <vector>

#include "engine/gl_test.h"
#include "engine/kiv_polygons.h"

namespace {

using Floats = std::vector<float>;

const Floats kTriangle = {0, 0, 0, 1, 0, 0, 0, 1, 0};

class PolygonStore : public GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    polygons = std::make_unique<KivPolygons>();
    polygons->setActiveChart("Word");
  }

  std::int32_t add(std::string_view type, const Floats& vertices, const Floats& colors = {},
                   const Floats& normals = {}, const Floats& textures = {}) {
    return polygons->addPolygonsType(type, vertices, colors, normals, textures);
  }

  std::unique_ptr<KivPolygons> polygons;
};

TEST_F(PolygonStore, IndexesCountFromZeroAndAreNeverReused) {
  EXPECT_EQ(add("Triangles", kTriangle), 0);
  EXPECT_EQ(add("Triangles", kTriangle), 1);
  polygons->removePolygons(0);
  polygons->removePolygons(7);  // unknown: ignored
  EXPECT_EQ(polygons->polygon(0), nullptr);
  EXPECT_NE(polygons->polygon(1), nullptr);
  EXPECT_EQ(add("Triangles", kTriangle), 2);
}

TEST_F(PolygonStore, MismatchedListsAndUnknownTypesAreRejected) {
  EXPECT_EQ(alertOf([&] { add("Triangles", kTriangle, Floats(11, 1)); }),
            "The \" Word \" chart has 3 vertices and 2 colors. Please use the same amount.");
  EXPECT_EQ(alertOf([&] { add("Triangles", kTriangle, {}, Floats(6, 1)); }),
            "The \" Word \" chart has 3 vertices and 2 normals. Please use the same amount.");
  EXPECT_EQ(alertOf([&] { add("Triangles", kTriangle, Floats(12, 1), {}, Floats(8, 1)); }),
            "The \" Word \" chart has 3 vertices and 4 image coordinates. Please use the same "
            "amount.");
  // Rejected lists take no index; an unknown type is reported with the one it would have had.
  EXPECT_EQ(add("Triangles", kTriangle), 0);
  polygons->setActiveChart("Stats");
  EXPECT_EQ(alertOf([&] { add("triangleFan", kTriangle); }),
            "The \" Stats \" chart with polygon index 1 has an invaild polygon type "
            "triangleFan.");
}

TEST_F(PolygonStore, TypesCountTheirFaces) {
  struct Case {
    const char* type;
    std::size_t vertexFloats;
    std::uint32_t mode;
    std::int32_t faces;
  };
  const Case cases[] = {
      {"Points", 9, GL_POINTS, 0},
      {"Lines", 12, GL_LINES, 0},
      {"LineLoop", 9, GL_LINE_LOOP, 0},
      {"LineStrip", 9, GL_LINE_STRIP, 0},
      {"Triangles", 18, GL_TRIANGLES, 2},
      {"Triangles", 17, GL_TRIANGLES, 1},
      {"TriangleStrip", 12, GL_TRIANGLE_STRIP, 2},
      {"TriangleStrip", 9, GL_TRIANGLE_STRIP, 1},
      {"TriangleFan", 30, GL_TRIANGLE_FAN, 1},
  };
  for (const Case& c : cases) {
    const engine::PolygonRecord* record = polygons->polygon(add(c.type, Floats(c.vertexFloats)));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->type, c.mode) << c.type;
    EXPECT_EQ(record->polygonCount, c.faces) << c.type << " of " << c.vertexFloats;
  }
}

TEST_F(PolygonStore, ARangeReplacementWritesOnlyItsFloatsAndActsOnce) {
  const Floats vertices = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  const std::int32_t index = add("TriangleStrip", vertices);
  polygons->replaceRange(3, 6);
  polygons->replaceArray(index, Floats{-3, -4, -5, -6, -7, -8}, {}, {}, {});
  EXPECT_EQ(*polygons->polygon(index)->vertices,
            (Floats{0, 1, 2, -3, -4, -5, -6, -7, -8, 9, 10, 11}));

  // The range was used up: the next replacement is a whole one again.
  polygons->replaceArray(index, Floats(12, 1), {}, {}, {});
  EXPECT_EQ(*polygons->polygon(index)->vertices, Floats(12, 1));
}

TEST_F(PolygonStore, ARangeReplacementOfTextureCoordinatesNegatesTheStoredTs) {
  const std::int32_t index = add("TriangleFan", kTriangle, {}, {}, Floats(6, 0));
  polygons->replaceRange(2, 4);
  polygons->replaceArray(index, {}, {}, {}, Floats{0.5f, 0.25f, 1, 0.75f});
  EXPECT_EQ(polygons->polygon(index)->textures, (Floats{0, 0, 0.5f, -0.25f, 1, -0.75f}));

  // Started at an odd float, the list still lands with its t values negated.
  polygons->replaceRange(3, 2);
  polygons->replaceArray(index, {}, {}, {}, Floats{0.5f, 1});
  EXPECT_EQ(polygons->polygon(index)->textures, (Floats{0, 0, 0.5f, -0.5f, 1, -0.75f}));
}

// Whole replacements of the wrong size, and range replacements outside the buffer or with more
// data than the range: each list kind is named, with the function used.
TEST_F(PolygonStore, ReplacementsThatDoNotFitAreReported) {
  const std::int32_t index = add("Triangles", kTriangle, Floats(12, 1), Floats(9, 1), Floats(6));
  // Replaces list `kind` (vertices, colours, normals, texture points) over [start, start + length),
  // or whole when `length` is 0.
  const auto replace = [&](int kind, Floats list, std::int32_t start = 0, std::int32_t length = 0,
                           std::int32_t polygon = 0) {
    return alertOf([&] {
      if (length) polygons->replaceRange(start, length);
      std::vector<Floats> lists(4);
      lists[std::size_t(kind)] = std::move(list);
      polygons->replaceArray(polygon, lists[0], lists[1], lists[2], lists[3]);
    });
  };
  ASSERT_EQ(index, 0);
  const std::string sized = " buffer size when using the Polygon.replace";
  // An index with no polygon has nothing of any size.
  EXPECT_EQ(
      replace(1, Floats(12), 0, 0, 5),
      "The \" Word \" chart with polygon index 5 has an incorrect color" + sized + " function.");
  const std::pair<std::string, std::string> cases[] = {
      {replace(0, Floats(6)), "an incorrect vertex" + sized + " function."},
      {replace(1, Floats(4)), "an incorrect color" + sized + " function."},
      {replace(2, Floats(3)), "an incorrect lighting normals" + sized + " function."},
      {replace(3, Floats(2)), "an incorrect image map coordinates" + sized + " function."},
      {replace(0, Floats(6), 6, 6), "an incorrect vertex" + sized + ".range function."},
      {replace(1, Floats(13), 0, 2),
       "a total of 13 colors which is too big for the Polygon.replace function."},
      {replace(2, Floats(10), 0, 3),
       "a total of 10 lighting normals which is too big for the Polygon.replace function."},
      {replace(3, Floats(4), 4, 4),
       "an incorrect image map coordinates" + sized + ".range function."},
      // A negative start would otherwise write before the buffer, and a list shorter than the
      // range would be read past its end.
      {replace(1, Floats(2), -1, 2), "an incorrect color" + sized + ".range function."},
      {replace(0, Floats(3), 0, 6), "an incorrect vertex" + sized + ".range function."},
  };
  for (const auto& [message, ending] : cases) {
    EXPECT_EQ(message, "The \" Word \" chart with polygon index 0 has " + ending);
  }
}

TEST_F(PolygonStore, TheMatrixStackPushesAtMostOnceAndPopsOnlyWhenPushed) {
  auto depth = [] {
    GLint value = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &value);
    return value;
  };
  glMatrixMode(GL_MODELVIEW);
  polygons->endMatrixStack();
  EXPECT_EQ(depth(), 1);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));  // no stack underflow

  polygons->startMatrixStack();
  glTranslatef(1, 2, 3);
  polygons->startMatrixStack();
  EXPECT_EQ(depth(), 2);

  polygons->endMatrixStack();
  EXPECT_EQ(depth(), 1);
  GLfloat matrix[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
  EXPECT_EQ(matrix[12], 0.0f);  // the translation is gone with the popped copy
  polygons->endMatrixStack();
  EXPECT_EQ(depth(), 1);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
