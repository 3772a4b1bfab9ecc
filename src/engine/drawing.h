// The drawing back end: what turns the engine's polygons and drawing state into pixels. The GL
// back end (engine/gl/) draws; the null back end draws nothing and is what verifying a replay
// runs on, with no window, no GL context and no GL library loaded. The back end is chosen once,
// before the services draw anything, and lives for the rest of the process.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/draw_state.h"
#include "engine/polygon_record.h"
#include "platform/image_file.h"

namespace engine {

// The GL primitive modes, wrap modes and filters, by their GL values: the engine keeps them as
// numbers without including GL.
namespace gl_values {
inline constexpr std::uint32_t kPoints = 0x0000, kLines = 0x0001, kLineLoop = 0x0002,
                               kLineStrip = 0x0003, kTriangles = 0x0004,
                               kTriangleStrip = 0x0005, kTriangleFan = 0x0006;
inline constexpr unsigned kRepeat = 0x2901, kNearest = 0x2600, kLinear = 0x2601,
                          kNearestMipmapNearest = 0x2700, kLinearMipmapNearest = 0x2701,
                          kNearestMipmapLinear = 0x2702, kLinearMipmapLinear = 0x2703;
}  // namespace gl_values

struct TextureSettings {
  unsigned wrapS = gl_values::kRepeat, wrapT = gl_values::kRepeat;
  unsigned magFilter = gl_values::kLinear, minFilter = gl_values::kNearestMipmapLinear;
};

// A picture drawn in window pixels: RGBA rows from the bottom up.
struct PixelImage {
  int width = 0;
  int height = 0;
  const std::uint8_t* rgba = nullptr;
};

class Drawing {
 public:
  virtual ~Drawing() = default;

  // The settings of the whole run: black clear colour, depth test less-or-equal, smooth
  // shading, back faces culled, no dithering.
  virtual void applyDefaults() = 0;
  // Light 0 with its default parameters lights every polygon that carries normals.
  virtual void useDefaultLight() = 0;
  // GL's state was set behind the back end's back (a new context, say): what it holds is sent
  // again at the next draw.
  virtual void stateChanged() = 0;
  // Clears colour and depth for a new frame.
  virtual void clear() = 0;
  // Draws `record` with `state`'s matrices, viewport and switches.
  virtual void drawPolygon(const DrawState& state, const PolygonRecord& record) = 0;

  // The largest picture side a texture may have.
  virtual int maxTextureSide() = 0;
  // Gives texture `name` (handed out by the engine, never 0) the picture.
  virtual void loadTexture(std::uint32_t name, const platform::DecodedImage& image,
                           const TextureSettings& settings) = 0;
  // Makes texture `name` the one textured polygons are drawn with (0: none).
  virtual void bindTexture(std::uint32_t name) = 0;
  virtual void deleteTexture(std::uint32_t name) = 0;

  // Drawing over the finished picture in window pixels, origin at the bottom left, between
  // `beginOverlay` and `endOverlay`: flat colours and pictures blended by alpha, with no depth
  // test, lighting, texturing or culling. What the charts set is back in force afterwards.
  virtual void beginOverlay(int width, int height) = 0;
  virtual void endOverlay() = 0;
  virtual void fillRect(int left, int bottom, int right, int top,
                        const std::array<float, 4>& rgba) = 0;
  virtual void drawPixels(int x, int y, const PixelImage& image) = 0;
  // The picture with its bottom left at (x, y), each pixel `zoom` pixels wide and high, its
  // colours scaled by `brightness`, not blended.
  virtual void drawDimmedPixels(int x, int y, float zoom, const PixelImage& image,
                                float brightness) = 0;
  // The frames-per-second text over a view of width × height: `image` with its baseline at
  // (x, y) and its bottom `descent` pixels below, blended, outside any overlay. It leaves the
  // current colour red.
  virtual void drawFrameRate(int width, int height, float x, float y, int descent,
                             const PixelImage& image) = 0;
  // The back buffer, width × height from the bottom left, RGB or RGBA rows from the bottom up;
  // false (and `pixels` empty) when it cannot be read.
  virtual bool readPixels(int width, int height, bool alpha, std::vector<std::uint8_t>& pixels) = 0;
};

// The process-wide back end: the GL one unless `useNullDrawing` was called first.
Drawing& drawing();
// Chooses the back end that draws nothing. Call before anything is drawn or loaded.
void useNullDrawing();
bool drawsNothing();
// A texture name for the back end: from 1 up, never reused in the process, as GL hands them out.
std::uint32_t newTextureName();

}  // namespace engine
