// Replacing a stored polygon's data, in whole or over the range set just before.
#include <array>

#include "engine/float_buffers.h"
#include "engine/kiv_alert.h"
#include "engine/kiv_polygons.h"

namespace engine {

namespace {

struct BufferWords {
  const char* tooBig;      // "… has a total of N <tooBig> which is too big …"
  const char* bufferSize;  // "… has an incorrect <bufferSize> when using …"
};

constexpr std::array<BufferWords, 4> kWords = {{
    {"vertices", "vertex buffer size"},
    {"colors", "color buffer size"},
    {"lighting normals", "lighting normals buffer size"},
    {"image mapping coordinates", "image map coordinates buffer size"},
}};

}  // namespace

void KivPolygons::replaceRange(std::int32_t start, std::int32_t length) {
  rangeStart = start;
  rangeLength = length;
  replacingRange = true;
}

void KivPolygons::replaceArray(std::int32_t index, std::span<const float> vertices,
                               std::span<const float> colors, std::span<const float> normals,
                               std::span<const float> textures) {
  const auto found = thePolygonDictionary.find(index);
  engine::PolygonRecord* record = found == thePolygonDictionary.end() ? nullptr : &found->second;
  const std::array<std::span<const float>, 4> lists = {vertices, colors, normals, textures};
  const std::array<std::int32_t, 4> storedCounts = {
      record ? record->verticesNumber : 0, record ? record->colorsNumber : 0,
      record ? record->normalsNumber : 0, record ? record->texturesNumber : 0};

  for (std::size_t kind = 0; kind < lists.size(); ++kind) {
    if (lists[kind].empty()) continue;
    const auto bufferKind = BufferKind(kind);
    // A missing polygon counts as one whose buffers are all empty: it is always rejected here.
    checkReplacement(index, bufferKind, lists[kind].size(), storedCounts[kind]);
    replaceBuffer(*record, bufferKind, lists[kind]);
  }
}

void KivPolygons::checkReplacement(std::int32_t index, BufferKind kind, std::size_t listLength,
                                   std::int32_t storedCount) const {
  const BufferWords& words = kWords[std::size_t(kind)];
  // The message is put together only when there is something to report: a replacement that
  // fits, every frame of the run clock, allocates nothing.
  auto report = [&](const std::string& problem) {
    KivAlert::share().setQuitAlert(messageOpening() + " with polygon index " +
                                   std::to_string(index) + problem);
  };

  if (!replacingRange) {
    if (std::int64_t(listLength) == storedCount) return;
    report(std::string(" has an incorrect ") + words.bufferSize +
           " when using the Polygon.replace function.");
  }
  // The range is counted in 64 bits so that a negative or huge start cannot wrap round into the
  // buffer; a list shorter than the range would leave part of it unwritten from nothing.
  const bool rangeInside = rangeStart >= 0 && rangeLength >= 0 &&
                           rangeStart + rangeLength <= storedCount &&
                           std::int64_t(listLength) >= rangeLength;
  if (!rangeInside) {
    report(std::string(" has an incorrect ") + words.bufferSize +
           " when using the Polygon.replace.range function.");
  }
  if (std::int64_t(listLength) > storedCount) {
    report(" has a total of " + std::to_string(listLength) + " " + words.tooBig +
           " which is too big for the Polygon.replace function.");
  }
}

void KivPolygons::replaceBuffer(engine::PolygonRecord& record, BufferKind kind,
                                std::span<const float> list) {
  const bool isTextures = kind == BufferKind::Textures;
  if (replacingRange) {
    engine::FloatBuffer& buffer = kind == BufferKind::Vertices  ? *record.vertices
                                  : kind == BufferKind::Colors  ? record.colors
                                  : kind == BufferKind::Normals ? record.normals
                                                                : record.textures;
    engine::writeFloats(list.first(std::size_t(rangeLength)), buffer, std::size_t(rangeStart),
                        isTextures);
    rangeStart = 0;
    rangeLength = 0;
    replacingRange = false;
    return;
  }
  engine::FloatBuffer replacement = engine::toFloatBuffer(list, isTextures);
  switch (kind) {
    case BufferKind::Vertices:
      // A new buffer: picking entries made earlier keep the old one.
      record.vertices = std::make_shared<engine::FloatBuffer>(std::move(replacement));
      break;
    case BufferKind::Colors:
      record.colors = std::move(replacement);
      break;
    case BufferKind::Normals:
      record.normals = std::move(replacement);
      break;
    case BufferKind::Textures:
      record.textures = std::move(replacement);
      break;
  }
}

}  // namespace engine
