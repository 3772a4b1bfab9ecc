// The GL entry points of the game's code (`grep -rhoE "\bgl[A-Z][A-Za-z0-9]+\b" src | sort -u`),
// each forwarding to the driver or doing nothing. In no-op mode the queries give what a fresh
// context would: the viewport last set, identity matrices, a texture size limit, a version.
#include "gl_layer.h"

#include <GL/gl.h>
#include <dlfcn.h>

#include <algorithm>
#include <iterator>
#include <cstdio>
#include <cstdlib>

namespace gl_layer {
namespace {

Mode current = Mode::Forward;
long callCount = 0;

// Calls per entry point, in the order the entry points were first called.
struct EntryPoint {
  const char* name = nullptr;
  long calls = 0;
};
EntryPoint entryPoints[64];
int entryPointCount = 0;

long& callsOf(const char* name) {
  for (int at = 0; at < entryPointCount; ++at) {
    if (entryPoints[at].name == name) return entryPoints[at].calls;
  }
  if (entryPointCount == int(std::size(entryPoints))) std::abort();
  entryPoints[entryPointCount].name = name;
  return entryPoints[entryPointCount++].calls;
}
GLint viewport[4] = {0, 0, 0, 0};
GLuint nextTexture = 1;

// The driver's own definition: the next one after this executable's, or the GL library's when
// the linker left it out because this file defines every symbol the game needs from it.
void* driverSymbol(const char* name) {
  if (void* next = dlsym(RTLD_NEXT, name)) return next;
  static void* library = dlopen("libGL.so.1", RTLD_LAZY);
  void* found = library ? dlsym(library, name) : nullptr;
  if (!found) {
    std::fprintf(stderr, "gl_layer: %s not found in the GL library\n", name);
    std::abort();
  }
  return found;
}

template <typename Function>
Function driver(const char* name) {
  return reinterpret_cast<Function>(driverSymbol(name));
}

}  // namespace

void setMode(Mode mode) { current = mode; }
Mode mode() { return current; }
long calls() { return callCount; }

void printCallsByEntryPoint(long frames) {
  for (int at = 0; at < entryPointCount; ++at) {
    if (entryPoints[at].calls == 0) continue;
    std::fprintf(stderr, "  %-22s %8.2f per frame\n", entryPoints[at].name,
                 double(entryPoints[at].calls) / double(frames));
  }
}

void resetCallsByEntryPoint() {
  for (int at = 0; at < entryPointCount; ++at) entryPoints[at].calls = 0;
}

}  // namespace gl_layer

using gl_layer::Mode;

// Counts one call of `name`.
#define ALOFT_GL_COUNT(name)                                          \
  ++gl_layer::callCount;                                              \
  static long& calls##name = gl_layer::callsOf(#name);                \
  ++calls##name

// A call that returns nothing and gives nothing back: forwarded, or dropped.
#define ALOFT_GL_LAYER(name, params, args)                                           \
  extern "C" void name params {                                                      \
    ALOFT_GL_COUNT(name);                                                            \
    if (gl_layer::current == Mode::NoOp) return;                                     \
    static const auto forward = gl_layer::driver<decltype(&::name)>(#name);          \
    forward args;                                                                    \
  }

ALOFT_GL_LAYER(glBindTexture, (GLenum target, GLuint texture), (target, texture))
ALOFT_GL_LAYER(glBitmap,
               (GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove,
                GLfloat ymove, const GLubyte* bitmap),
               (width, height, xorig, yorig, xmove, ymove, bitmap))
ALOFT_GL_LAYER(glBlendFunc, (GLenum sfactor, GLenum dfactor), (sfactor, dfactor))
ALOFT_GL_LAYER(glClear, (GLbitfield mask), (mask))
ALOFT_GL_LAYER(glClearColor, (GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha),
               (red, green, blue, alpha))
ALOFT_GL_LAYER(glClearDepth, (GLclampd depth), (depth))
ALOFT_GL_LAYER(glColor3f, (GLfloat red, GLfloat green, GLfloat blue), (red, green, blue))
ALOFT_GL_LAYER(glColorPointer, (GLint size, GLenum type, GLsizei stride, const GLvoid* pointer),
               (size, type, stride, pointer))
ALOFT_GL_LAYER(glCullFace, (GLenum mode), (mode))
ALOFT_GL_LAYER(glDeleteTextures, (GLsizei n, const GLuint* textures), (n, textures))
ALOFT_GL_LAYER(glDepthFunc, (GLenum func), (func))
ALOFT_GL_LAYER(glDisable, (GLenum cap), (cap))
ALOFT_GL_LAYER(glDisableClientState, (GLenum cap), (cap))
ALOFT_GL_LAYER(glDrawArrays, (GLenum mode, GLint first, GLsizei count), (mode, first, count))
ALOFT_GL_LAYER(glDrawPixels,
               (GLsizei width, GLsizei height, GLenum format, GLenum type, const GLvoid* pixels),
               (width, height, format, type, pixels))
ALOFT_GL_LAYER(glEnable, (GLenum cap), (cap))
ALOFT_GL_LAYER(glFlush, (), ())
ALOFT_GL_LAYER(glEnableClientState, (GLenum cap), (cap))
ALOFT_GL_LAYER(glFrustum,
               (GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near_val,
                GLdouble far_val),
               (left, right, bottom, top, near_val, far_val))
ALOFT_GL_LAYER(glLoadIdentity, (), ())
ALOFT_GL_LAYER(glLoadMatrixf, (const GLfloat* m), (m))
ALOFT_GL_LAYER(glMatrixMode, (GLenum mode), (mode))
ALOFT_GL_LAYER(glNormalPointer, (GLenum type, GLsizei stride, const GLvoid* pointer),
               (type, stride, pointer))
ALOFT_GL_LAYER(glOrtho,
               (GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near_val,
                GLdouble far_val),
               (left, right, bottom, top, near_val, far_val))
ALOFT_GL_LAYER(glPixelStorei, (GLenum pname, GLint param), (pname, param))
ALOFT_GL_LAYER(glPopAttrib, (), ())
ALOFT_GL_LAYER(glPopMatrix, (), ())
ALOFT_GL_LAYER(glPushAttrib, (GLbitfield mask), (mask))
ALOFT_GL_LAYER(glPushMatrix, (), ())
ALOFT_GL_LAYER(glRasterPos2f, (GLfloat x, GLfloat y), (x, y))
ALOFT_GL_LAYER(glReadBuffer, (GLenum mode), (mode))
ALOFT_GL_LAYER(glReadPixels,
               (GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                GLvoid* pixels),
               (x, y, width, height, format, type, pixels))
ALOFT_GL_LAYER(glRotatef, (GLfloat angle, GLfloat x, GLfloat y, GLfloat z), (angle, x, y, z))
ALOFT_GL_LAYER(glShadeModel, (GLenum mode), (mode))
ALOFT_GL_LAYER(glTexCoordPointer, (GLint size, GLenum type, GLsizei stride, const GLvoid* pointer),
               (size, type, stride, pointer))
ALOFT_GL_LAYER(glTexImage2D,
               (GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                GLint border, GLenum format, GLenum type, const GLvoid* pixels),
               (target, level, internalFormat, width, height, border, format, type, pixels))
ALOFT_GL_LAYER(glTexParameteri, (GLenum target, GLenum pname, GLint param),
               (target, pname, param))
ALOFT_GL_LAYER(glTranslatef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))
ALOFT_GL_LAYER(glVertexPointer, (GLint size, GLenum type, GLsizei stride, const GLvoid* pointer),
               (size, type, stride, pointer))

#undef ALOFT_GL_LAYER

// The calls that set or give back something the game goes on to use.

extern "C" void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  ALOFT_GL_COUNT(glViewport);
  const GLint set[4] = {x, y, width, height};
  std::copy(set, set + 4, gl_layer::viewport);
  if (gl_layer::current == Mode::NoOp) return;
  static const auto forward = gl_layer::driver<decltype(&::glViewport)>("glViewport");
  forward(x, y, width, height);
}

extern "C" void glGenTextures(GLsizei n, GLuint* textures) {
  ALOFT_GL_COUNT(glGenTextures);
  if (gl_layer::current == Mode::NoOp) {
    for (GLsizei i = 0; i < n; ++i) textures[i] = gl_layer::nextTexture++;
    return;
  }
  static const auto forward = gl_layer::driver<decltype(&::glGenTextures)>("glGenTextures");
  forward(n, textures);
}

extern "C" void glGetIntegerv(GLenum pname, GLint* params) {
  ALOFT_GL_COUNT(glGetIntegerv);
  if (gl_layer::current == Mode::NoOp) {
    if (pname == GL_VIEWPORT) {
      std::copy(gl_layer::viewport, gl_layer::viewport + 4, params);
    } else if (pname == GL_MAX_TEXTURE_SIZE) {
      *params = 8192;
    } else {
      *params = 0;
    }
    return;
  }
  static const auto forward = gl_layer::driver<decltype(&::glGetIntegerv)>("glGetIntegerv");
  forward(pname, params);
}

extern "C" void glGetFloatv(GLenum pname, GLfloat* params) {
  ALOFT_GL_COUNT(glGetFloatv);
  if (gl_layer::current == Mode::NoOp) {
    if (pname == GL_MODELVIEW_MATRIX || pname == GL_PROJECTION_MATRIX) {
      for (int i = 0; i < 16; ++i) params[i] = i % 5 == 0 ? 1.0f : 0.0f;
    } else {
      *params = 0;
    }
    return;
  }
  static const auto forward = gl_layer::driver<decltype(&::glGetFloatv)>("glGetFloatv");
  forward(pname, params);
}

extern "C" const GLubyte* glGetString(GLenum name) {
  ALOFT_GL_COUNT(glGetString);
  if (gl_layer::current == Mode::NoOp) {
    static const GLubyte version[] = "2.1 no-op layer";
    return name == GL_VERSION ? version : reinterpret_cast<const GLubyte*>("");
  }
  static const auto forward = gl_layer::driver<decltype(&::glGetString)>("glGetString");
  return forward(name);
}

#undef ALOFT_GL_COUNT
