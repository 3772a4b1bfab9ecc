// Events in a program without a window: the only ones there are the quit signals. It plays no
// scripted input (the game program does), so nothing can be pushed.
#include "platform/events.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

[[noreturn]] void noInputHere() {
  std::fputs("aloft: synthesised input reached the program without devices\n", stderr);
  std::abort();
}

}  // namespace

bool pollEvent(const Window&, Event& event) { return quitBySignal(event); }
bool waitEvent(const Window&, Event& event, int) { return quitBySignal(event); }

std::optional<Key> keyNamed(std::string_view) { noInputHere(); }
void pushKey(const Key&, bool) { noInputHere(); }
void pushMouseMove(int, int) { noInputHere(); }
void pushMouseButton(MouseButton, bool, int, int) { noInputHere(); }
void pushFocusChange(bool) { noInputHere(); }
void pushCommandKey(Command) { noInputHere(); }

}  // namespace platform
