// Building, placing, texturing and drawing polygons; blending and depth testing; the picture
// ratio; and picking. Each command checks its argument cells, then makes one or two calls on the
// polygon or texture service.
#include "chart/actions.h"
#include "chart/chart.h"
#include "chart/diagnostics.h"
#include "chart/resource_path.h"
#include "chart/utf16.h"
#include "engine/drawing.h"

namespace chart {

namespace {

namespace gl = engine::gl_values;

// The value of argument `position`, after its type check.
float checkedNumber(Chart& chart, const Node& node, int position = 0) {
  checkArgument(chart, node.command, position, node.arguments[position]);
  return chart.cell(node.arguments[position]).math;
}

// An engine index or integer from a number cell, truncated toward zero.
std::int32_t checkedIndex(Chart& chart, const Node& node, int position = 0) {
  return truncatedIndex(checkedNumber(chart, node, position));
}

void storeIndex(Chart& chart, const Node& node, std::int32_t index) {
  storeTakenNumber(chart.cell(node.result), float(index));
}

// Emptied in this order once a polygon command has handed them over.
void emptyScratchArrays(Chart::ScratchArrays& scratch) {
  scratch.vertices.clear();
  scratch.colors.clear();
  scratch.normals.clear();
  scratch.textures.clear();
}

unsigned magnificationFilter(const Cell& cell) {
  if (cell.type == kText && cell.text->units == u"NEAREST") return gl::kNearest;
  return gl::kLinear;
}

unsigned minificationFilter(const Cell& cell) {
  struct Named {
    std::u16string_view name;
    unsigned filter;
  };
  static constexpr Named kFilters[] = {
      {u"LINEAR", gl::kLinear},
      {u"NEAREST", gl::kNearest},
      {u"NEAREST_MIPMAP_LINEAR", gl::kNearestMipmapLinear},
      {u"LINEAR_MIPMAP_LINEAR", gl::kLinearMipmapLinear},
      {u"LINEAR_MIPMAP_NEAREST", gl::kLinearMipmapNearest},
      {u"NEAREST_MIPMAP_NEAREST", gl::kNearestMipmapNearest},
  };
  if (cell.type == kText) {
    for (const Named& named : kFilters) {
      if (cell.text->units == named.name) return named.filter;
    }
  }
  return gl::kNearestMipmapLinear;
}

}  // namespace

void collectVertex(Chart& chart, const Node& node) {
  chart.scratchArrays().vertices.push_back(checkedNumber(chart, node));
}

void collectColor(Chart& chart, const Node& node) {
  chart.scratchArrays().colors.push_back(checkedNumber(chart, node));
}

void collectImageMap(Chart& chart, const Node& node) {
  chart.scratchArrays().textures.push_back(checkedNumber(chart, node));
}

void polygonAdd(Chart& chart, const Node& node) {
  checkArgument(chart, node.command, 0, node.arguments[0]);
  const std::string type = toUtf8(chart.cell(node.arguments[0]).text->units);
  Chart::ScratchArrays& scratch = chart.scratchArrays();
  const std::int32_t index = chart.services().polygons->addPolygonsType(
      type, scratch.vertices, scratch.colors, scratch.normals, scratch.textures);
  storeIndex(chart, node, index);
  chart.recordForDealloc(Resource::Polygon, index);
  emptyScratchArrays(scratch);
}

void polygonReplace(Chart& chart, const Node& node) {
  const std::int32_t index = checkedIndex(chart, node);
  Chart::ScratchArrays& scratch = chart.scratchArrays();
  chart.services().polygons->replaceArray(index, scratch.vertices, scratch.colors, scratch.normals,
                                          scratch.textures);
  emptyScratchArrays(scratch);
}

void polygonReplaceRange(Chart& chart, const Node& node) {
  const std::int32_t length = checkedIndex(chart, node, 0);
  const std::int32_t start = checkedIndex(chart, node, 1);
  chart.services().polygons->replaceRange(start, length);
}

void polygonUpdate(Chart& chart, const Node& node) {
  engine::PolygonService& polygons = *chart.services().polygons;
  polygons.updatePolygon(checkedIndex(chart, node));
  polygons.endMatrixStack();
}

void place(Chart& chart, const Node& node) {
  const float value = checkedNumber(chart, node);
  engine::PolygonService& polygons = *chart.services().polygons;
  polygons.startMatrixStack();
  switch (node.command) {
    case Command::Move_x:
      polygons.translate(value, 0, 0);
      break;
    case Command::Move_y:
      polygons.translate(0, value, 0);
      break;
    case Command::Move_z:
      polygons.translate(0, 0, value);
      break;
    case Command::Rotate_x:
      polygons.rotate(value, 1, 0, 0);
      break;
    case Command::Rotate_z:
      polygons.rotate(value, 0, 0, 1);
      break;
    default:
      break;
  }
}

void imageAdd(Chart& chart, const Node& node) {
  checkArgument(chart, node.command, 0, node.arguments[0]);
  const std::string name = toUtf8(chart.cell(node.arguments[0]).text->units);
  const std::optional<std::string> path = resourceFilePath(name);
  if (!path) raise(missingResourceMessage("image", chart.chartName(), name));

  const unsigned magFilter = magnificationFilter(chart.cell(kMagFilter));
  const unsigned minFilter = minificationFilter(chart.cell(kMinFilter));
  const std::int32_t index =
      chart.services().textures->addTexture(*path, gl::kRepeat, gl::kRepeat, magFilter, minFilter);
  storeIndex(chart, node, index);
  chart.recordForDealloc(Resource::Image, index);
  // The filters apply to this one picture; a chart sets them again before the next.
  clearCell(chart.cell(kMinFilter));
  clearCell(chart.cell(kMagFilter));
}

void imageUpdate(Chart& chart, const Node& node) {
  chart.services().textures->bindTexture(checkedIndex(chart, node));
}

void blend(Chart& chart, const Node& node) {
  const float flag = checkedNumber(chart, node);
  engine::PolygonService& polygons = *chart.services().polygons;
  Cell& customBlend = chart.cell(kCustomBlend);
  // Each chart sets the blend function once, on its first Blend.
  if (customBlend.math == chart.cell(kNo).math) {
    polygons.useAlphaBlendFunction();
    customBlend.math = chart.cell(kYes).math;
  }
  if (flag == chart.cell(kYes).math) {
    polygons.setBlending(true);
  } else if (flag == chart.cell(kNo).math) {
    polygons.setBlending(false);
  }
}

void depth(Chart& chart, const Node& node) {
  const float flag = checkedNumber(chart, node);
  engine::PolygonService& polygons = *chart.services().polygons;
  if (flag == chart.cell(kYes).math) {
    polygons.setDepthTest(true);
  } else if (flag == chart.cell(kNo).math) {
    polygons.setDepthTest(false);
  }
}

void screenRatio(Chart& chart, const Node& node) {
  const float height = checkedNumber(chart, node, 0);
  const float width = checkedNumber(chart, node, 1);
  chart.services().polygons->setViewportRatio(double(width), double(height));
}

void pickingAdd(Chart& chart, const Node& node) {
  const std::int32_t index = chart.services().polygons->addPicking(checkedIndex(chart, node));
  storeIndex(chart, node, index);
  chart.recordForDealloc(Resource::Picking, index);
}

void pickingUpdate(Chart& chart, const Node& node) {
  storeIndex(chart, node, chart.services().polygons->updatePicking(checkedIndex(chart, node)));
}

}  // namespace chart
