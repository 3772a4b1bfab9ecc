// A layer over the GL entry points the game calls, linked into a benchmark executable: its
// definitions take the place of the GL library's for every call made from the game's code
// (statically linked into the executable), while SDL keeps reaching the real driver through its
// own loader. The layer either forwards each call to the driver or does nothing, so one run can
// measure a frame with and without the driver's work on the same game state; it counts the calls
// it sees, which shows that the game's calls really go through it.
#pragma once

namespace gl_layer {

enum class Mode { Forward, NoOp };

void setMode(Mode mode);
Mode mode();

// Calls made through the layer so far, in either mode.
long calls();

// The calls per entry point since the last reset, divided by `frames`, to standard error.
void printCallsByEntryPoint(long frames);
void resetCallsByEntryPoint();

}  // namespace gl_layer
