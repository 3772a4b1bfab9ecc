// Draw cost of the game's typical polygon, a four-vertex textured fan, placed with the matrix
// stack as the charts place it (push, move, bind, draw, pop), on Mesa's llvmpipe in a headless
// window. Reports polygons per second (rasterisation included: every batch ends in glFinish)
// and heap allocations per draw, counted by replacing the global operator new.
// Run: build/bench/draw_bench
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "counting_new.h"
#include "engine/kiv_polygons.h"
#include "engine/kiv_textures.h"
#include "platform/window.h"
#include "support/tiff_writer.h"

namespace {

constexpr int kDrawsPerBatch = 1000;

// A 64 × 64 RGB picture for the fan.
std::string writePicture() {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("aloft-draw-bench-" + std::to_string(::getpid()) + ".tif"))
                               .string();
  constexpr std::uint32_t kSide = 64;
  std::vector<std::uint8_t> pixels(kSide * kSide * 3);
  for (std::uint32_t y = 0; y < kSide; ++y) {
    for (std::size_t i = 0; i < kSide * 3; ++i) pixels[y * kSide * 3 + i] = std::uint8_t(i ^ y);
  }
  writeTiff(path, {.width = kSide, .height = kSide}, pixels);
  return path;
}

// range(0): the fan's half size in scene units at depth 20; 1 covers about 2 % of the
// picture (a letter or a button), 12 all of it (the sky wall).
void TexturedFanDraw(benchmark::State& state) {
  std::string error;
  const auto window = platform::Window::open({"draw bench", {480, 320}, true}, error);
  if (!window) {
    state.SkipWithError(error.c_str());
    return;
  }
  engine::KivPolygons polygons;
  engine::KivTextures textures;
  polygons.setViewFrame({0, 0, 480, 320});
  polygons.setViewportRatio(3, 2);
  const std::string picture = writePicture();
  const std::int32_t texture = textures.addTexture(picture, GL_REPEAT, GL_REPEAT, GL_LINEAR,
                                                   GL_LINEAR_MIPMAP_LINEAR);
  std::filesystem::remove(picture);

  const auto half = float(state.range(0));
  const std::vector<float> vertices = {-half, -half, 0, half, -half, 0,
                                       half,  half,  0, -half, half, 0};
  const std::vector<float> coordinates = {0, 0, 1, 0, 1, 1, 0, 1};
  const std::int32_t fan = polygons.addPolygonsType("TriangleFan", vertices, {}, {}, coordinates);

  auto drawBatch = [&] {
    for (int i = 0; i < kDrawsPerBatch; ++i) {
      polygons.startMatrixStack();
      polygons.translate(0, 0, -20);
      textures.bindTexture(texture);
      polygons.updatePolygon(fan);
      polygons.endMatrixStack();
    }
  };
  // The driver compiles its shader variant for this state on the first draw (with LLVM, whose
  // allocations would be counted too); a game frame after the first pays nothing of that.
  drawBatch();
  glFinish();

  long allocations = 0;
  for (auto _ : state) {
    const long before = heapAllocations();
    drawBatch();
    allocations += heapAllocations() - before;
    glFinish();
  }
  const auto draws = double(state.iterations()) * kDrawsPerBatch;
  state.SetItemsProcessed(std::int64_t(draws));
  state.counters["allocations_per_draw"] = double(allocations) / draws;
}
// Wall time: llvmpipe rasterises on threads of its own.
BENCHMARK(TexturedFanDraw)->Arg(1)->Arg(12)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
