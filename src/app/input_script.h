// Scripted input: events listed in a file, delivered into the event queue at given frames.
//
// One event a line, `#` starts a comment:
//   FRAME key-down KEY | FRAME key-up KEY | FRAME mouse-move X Y |
//   FRAME mouse-down left|right | FRAME mouse-up left|right
// Frames count from 1. KEY is one printable character or Left Right Up Down Space Return Escape
// F1 ... F12; X Y are window coordinates in points with the origin at the top left.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "platform/events.h"

struct ScriptEvent {
  enum class Kind : std::uint8_t { KeyDown, KeyUp, MouseMove, MouseDown, MouseUp };
  std::int64_t frame = 0;
  Kind kind = Kind::KeyDown;
  platform::Key key;
  platform::MouseButton button = platform::MouseButton::Left;
  int x = 0;
  int y = 0;
};

class InputScript {
 public:
  // Reads a whole script. On a malformed line returns null and sets `error` to
  // "NAME:LINE: what is wrong".
  static std::optional<InputScript> parse(std::istream& in, const std::string& name,
                                          std::string& error);
  static std::optional<InputScript> load(const std::string& path, std::string& error);

  // Pushes the events of `frame` into the event queue, in file order.
  void deliver(std::int64_t frame);

  const std::vector<ScriptEvent>& events() const { return events_; }

 private:
  std::vector<ScriptEvent> events_;  // ordered by frame, then file order
  std::size_t next = 0;
  int pointerX = 0;
  int pointerY = 0;
};
