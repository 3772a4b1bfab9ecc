// The start-up check: the game draws with fixed-function OpenGL and needs automatic mipmap
// generation, which came with OpenGL 1.4.
#pragma once

// True when a context of version major.minor can run the game.
bool openGLVersionSupported(int major, int minor);

// Ends the program with exit status 1, after a beep and the "Error" box, when the version is
// older than 1.4. Returns when the version serves.
void checkOpenGLVersion(int major, int minor);
