// The GL functions the back end calls, looked up in the GL library of the window's context when
// the back end is made. The game is not linked with a GL library: a process that opens no
// window (verifying a replay) never loads one.
#pragma once

#include <GL/gl.h>

#define ALOFT_GL_FUNCTIONS(X)                                                                      \
  X(glBindTexture)                                                                                 \
  X(glBitmap) X(glBlendFunc) X(glClear) X(glClearColor) X(glClearDepth) X(glColor3f) X(glColor4f)  \
      X(glColorPointer) X(glCullFace) X(glDeleteTextures) X(glDepthFunc) X(glDisable)              \
          X(glDisableClientState) X(glDrawArrays) X(glDrawPixels) X(glEnable)                      \
              X(glEnableClientState) X(glGetError) X(glGetIntegerv) X(glLoadIdentity)              \
                  X(glLoadMatrixf) X(glMatrixMode) X(glNormalPointer) X(glOrtho) X(glPixelStorei)  \
                      X(glPixelTransferf) X(glPixelZoom) X(glPopAttrib) X(glPopClientAttrib)       \
                          X(glPopMatrix) X(glPushAttrib) X(glPushClientAttrib) X(glPushMatrix)     \
                              X(glRasterPos2f) X(glRasterPos2i) X(glReadBuffer) X(glReadPixels)    \
                                  X(glRecti) X(glShadeModel) X(glTexCoordPointer) X(glTexImage2D)  \
                                      X(glTexParameteri) X(glVertexPointer) X(glViewport)

namespace engine {

struct GLFunctions {
#define ALOFT_GL_POINTER(name) decltype(&::name) name = nullptr;
  ALOFT_GL_FUNCTIONS(ALOFT_GL_POINTER)
#undef ALOFT_GL_POINTER

  // Looks every function up; false when one is missing (no GL library is loaded yet).
  bool load();
};

}  // namespace engine
