#include "engine/gl/gl_drawing.h"

#include "engine/gl/gl_functions.h"

namespace engine {

namespace {

// Draws each polygon with the engine's state, sending GL only what changed since the last draw.
class GLDrawing final : public Drawing {
 public:
  explicit GLDrawing(const GLFunctions& functions) : gl(functions) {}

  void applyDefaults() override;
  void useDefaultLight() override { gl.glEnable(GL_LIGHT0); }
  void clear() override { gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }
  void drawPolygon(const DrawState& state, const PolygonRecord& record) override;

  int maxTextureSide() override;
  void loadTexture(std::uint32_t name, const platform::DecodedImage& image,
                   const TextureSettings& settings) override;
  void bindTexture(std::uint32_t name) override { gl.glBindTexture(GL_TEXTURE_2D, name); }
  void deleteTexture(std::uint32_t name) override;

  void beginOverlay(int width, int height) override;
  void endOverlay() override;
  void fillRect(int left, int bottom, int right, int top,
                const std::array<float, 4>& rgba) override;
  void drawPixels(int x, int y, const PixelImage& image) override;
  void drawDimmedPixels(int x, int y, float zoom, const PixelImage& image,
                        float brightness) override;
  void drawFrameRate(int width, int height, float x, float y, int descent,
                     const PixelImage& image) override;
  bool readPixels(int width, int height, bool alpha, std::vector<std::uint8_t>& pixels) override;
  void stateChanged() override { known = false; }

 private:
  void sync(const DrawState& state);
  // Overlays are placed in window pixels, origin at the bottom left, over whatever the charts
  // left in the matrices; the pop restores them.
  void pushPixelProjection(int width, int height);
  void popPixelProjection();

  void setEnabled(GLenum capability, bool enabled) {
    if (enabled) {
      gl.glEnable(capability);
    } else {
      gl.glDisable(capability);
    }
  }

  const GLFunctions gl;
  // What GL holds, as last sent.
  bool known = false;
  Matrix modelView{};
  Matrix projection{};
  Viewport viewport;
  bool depthTest = false;
  bool blending = false;
  bool alphaBlendFunction = false;
};

void GLDrawing::applyDefaults() {
  gl.glClearColor(0, 0, 0, 1);
  gl.glClearDepth(1.0);
  gl.glDepthFunc(GL_LEQUAL);
  gl.glEnable(GL_DEPTH_TEST);
  gl.glShadeModel(GL_SMOOTH);
  gl.glEnable(GL_CULL_FACE);
  gl.glCullFace(GL_BACK);
  gl.glDisable(GL_DITHER);
  stateChanged();
}

void GLDrawing::sync(const DrawState& state) {
  if (!known || !(state.viewport == viewport)) {
    viewport = state.viewport;
    gl.glViewport(viewport.x, viewport.y, viewport.width, viewport.height);
  }
  if (!known || state.projection.top() != projection) {
    projection = state.projection.top();
    gl.glMatrixMode(GL_PROJECTION);
    gl.glLoadMatrixf(projection.data());
    gl.glMatrixMode(GL_MODELVIEW);
  }
  if (!known || state.modelView.top() != modelView) {
    modelView = state.modelView.top();
    gl.glLoadMatrixf(modelView.data());
  }
  if (!known || state.depthTest != depthTest) {
    depthTest = state.depthTest;
    setEnabled(GL_DEPTH_TEST, depthTest);
  }
  if (!known || state.blending != blending) {
    blending = state.blending;
    setEnabled(GL_BLEND, blending);
  }
  if (!known || state.alphaBlendFunction != alphaBlendFunction) {
    alphaBlendFunction = state.alphaBlendFunction;
    if (alphaBlendFunction) {
      gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    } else {
      gl.glBlendFunc(GL_ONE, GL_ZERO);
    }
  }
  known = true;
}

void GLDrawing::drawPolygon(const DrawState& state, const PolygonRecord& record) {
  sync(state);
  const std::int32_t vertexCount = record.verticesNumber / 3;
  const bool hasColors = record.colorsNumber > 0;
  const bool hasNormals = record.normalsNumber > 0;
  const bool hasTextures = record.texturesNumber > 0;

  if (record.verticesNumber > 0) {
    gl.glEnableClientState(GL_VERTEX_ARRAY);
    gl.glVertexPointer(3, GL_FLOAT, 0, record.vertices->data());
  }
  if (hasColors && record.colorsNumber / 4 == vertexCount) {
    gl.glEnableClientState(GL_COLOR_ARRAY);
    gl.glColorPointer(4, GL_FLOAT, 0, record.colors.data());
  }
  if (hasNormals && record.normalsNumber / 3 == vertexCount) {
    gl.glEnable(GL_LIGHTING);
    gl.glEnableClientState(GL_NORMAL_ARRAY);
    gl.glNormalPointer(GL_FLOAT, 0, record.normals.data());
  }
  if (hasTextures && record.texturesNumber / 2 == vertexCount) {
    gl.glEnable(GL_TEXTURE_2D);
    gl.glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    gl.glTexCoordPointer(2, GL_FLOAT, 0, record.textures.data());
  }

  gl.glDrawArrays(record.type, 0, vertexCount);

  gl.glDisableClientState(GL_VERTEX_ARRAY);
  if (hasColors) gl.glDisableClientState(GL_COLOR_ARRAY);
  if (hasNormals) {
    gl.glDisable(GL_LIGHTING);
    gl.glDisableClientState(GL_NORMAL_ARRAY);
  }
  if (hasTextures) {
    gl.glDisable(GL_TEXTURE_2D);
    gl.glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  }
}

int GLDrawing::maxTextureSide() {
  GLint side = 0;
  gl.glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
  return side;
}

void GLDrawing::loadTexture(std::uint32_t name, const platform::DecodedImage& image,
                            const TextureSettings& settings) {
  // Picture rows are packed, whatever their width.
  gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  gl.glBindTexture(GL_TEXTURE_2D, name);
  gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GLint(settings.wrapS));
  gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GLint(settings.wrapT));
  gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GLint(settings.magFilter));
  gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLint(settings.minFilter));
  if (settings.minFilter != GL_LINEAR && settings.minFilter != GL_NEAREST) {
    // Set before the upload so the levels below are built from it.
    gl.glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
  }
  const GLenum format = image.bitsPerPixel() == 24 ? GL_RGB : GL_RGBA;
  gl.glTexImage2D(GL_TEXTURE_2D, 0, image.samplesPerPixel, image.width, image.height, 0, format,
               GL_UNSIGNED_BYTE, image.pixels.data());
}

void GLDrawing::deleteTexture(std::uint32_t name) {
  const auto texture = GLuint(name);
  gl.glDeleteTextures(1, &texture);
}

void GLDrawing::pushPixelProjection(int width, int height) {
  gl.glMatrixMode(GL_PROJECTION);
  gl.glPushMatrix();
  gl.glLoadIdentity();
  gl.glOrtho(0, width, 0, height, -1, 1);
  gl.glMatrixMode(GL_MODELVIEW);
  gl.glPushMatrix();
  gl.glLoadIdentity();
}

void GLDrawing::popPixelProjection() {
  gl.glMatrixMode(GL_PROJECTION);
  gl.glPopMatrix();
  gl.glMatrixMode(GL_MODELVIEW);
  gl.glPopMatrix();
}

void GLDrawing::beginOverlay(int width, int height) {
  gl.glPushAttrib(GL_ALL_ATTRIB_BITS);
  gl.glViewport(0, 0, width, height);
  gl.glDisable(GL_DEPTH_TEST);
  gl.glDisable(GL_LIGHTING);
  gl.glDisable(GL_TEXTURE_2D);
  gl.glDisable(GL_CULL_FACE);
  gl.glEnable(GL_BLEND);
  gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  pushPixelProjection(width, height);
}

void GLDrawing::endOverlay() {
  popPixelProjection();
  gl.glPopAttrib();
}

void GLDrawing::fillRect(int left, int bottom, int right, int top,
                         const std::array<float, 4>& rgba) {
  gl.glColor4f(rgba[0], rgba[1], rgba[2], rgba[3]);
  gl.glRecti(left, bottom, right, top);
}

void GLDrawing::drawPixels(int x, int y, const PixelImage& image) {
  if (image.rgba == nullptr) return;
  gl.glRasterPos2i(x, y);
  gl.glDrawPixels(image.width, image.height, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba);
}

void GLDrawing::drawDimmedPixels(int x, int y, float zoom, const PixelImage& image,
                                 float brightness) {
  gl.glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  gl.glDisable(GL_BLEND);
  for (GLenum scale : {GL_RED_SCALE, GL_GREEN_SCALE, GL_BLUE_SCALE}) {
    gl.glPixelTransferf(scale, brightness);
  }
  gl.glPixelZoom(zoom, zoom);
  gl.glRasterPos2i(x, y);
  gl.glDrawPixels(image.width, image.height, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba);
  gl.glPixelZoom(1, 1);
  for (GLenum scale : {GL_RED_SCALE, GL_GREEN_SCALE, GL_BLUE_SCALE}) gl.glPixelTransferf(scale, 1);
  gl.glEnable(GL_BLEND);
  gl.glPopClientAttrib();
}

void GLDrawing::drawFrameRate(int width, int height, float x, float y, int descent,
                              const PixelImage& image) {
  gl.glDisable(GL_DEPTH_TEST);
  pushPixelProjection(width, height);
  gl.glColor3f(1, 0, 0);
  gl.glRasterPos2f(x, y);
  if (image.rgba != nullptr) {
    // The raster position is the text's baseline; the picture starts below it by the descent.
    gl.glBitmap(0, 0, 0, 0, 0, float(-descent), nullptr);
    // Blend the glyphs' soft edges over the picture without disturbing the charts' own blending.
    gl.glPushAttrib(GL_COLOR_BUFFER_BIT);
    gl.glEnable(GL_BLEND);
    gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    gl.glDrawPixels(image.width, image.height, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba);
    gl.glPopAttrib();
  }
  popPixelProjection();
  gl.glEnable(GL_DEPTH_TEST);
  stateChanged();
}

bool GLDrawing::readPixels(int width, int height, bool alpha, std::vector<std::uint8_t>& pixels) {
  while (gl.glGetError() != GL_NO_ERROR) {
  }
  pixels.resize(std::size_t(width) * std::size_t(height) * (alpha ? 4 : 3));
  gl.glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  gl.glPixelStorei(GL_PACK_ALIGNMENT, 1);
  gl.glReadBuffer(GL_BACK);
  gl.glReadPixels(0, 0, width, height, alpha ? GL_RGBA : GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  gl.glPopClientAttrib();
  if (gl.glGetError() != GL_NO_ERROR) {
    pixels.clear();
    return false;
  }
  return true;
}

}  // namespace

std::unique_ptr<Drawing> makeGLDrawing() {
  GLFunctions functions;
  if (!functions.load()) return nullptr;
  return std::make_unique<GLDrawing>(functions);
}

}  // namespace engine
