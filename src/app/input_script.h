// Scripted input: events listed in a file, delivered into the event queue at given frames.
//
// One event a line, `#` starts a comment:
//   FRAME key-down KEY | FRAME key-up KEY | FRAME mouse-move X Y |
//   FRAME mouse-down left|right | FRAME mouse-up left|right |
//   FRAME pad-connect PAD | FRAME pad-disconnect PAD | FRAME pad-down PAD BUTTON |
//   FRAME pad-up PAD BUTTON | FRAME pad-stick PAD X
// Frames count from 1. KEY is one printable character or Left Right Up Down Space Return Tab
// Escape F1 ... F12, optionally after Ctrl+ and Shift+; X Y are window coordinates in points with
// the origin at the top left. PAD (1 to 4) names a software game controller, connected by
// pad-connect; BUTTON is a b start up down left right; pad-stick sets its left stick's
// horizontal position X, -32768 (left) to 32767 (right).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "platform/events.h"
#include "platform/virtual_controller.h"

struct ScriptEvent {
  enum class Kind : std::uint8_t {
    KeyDown, KeyUp, MouseMove, MouseDown, MouseUp,
    PadConnect, PadDisconnect, PadDown, PadUp, PadStick,
  };
  std::int64_t frame = 0;
  Kind kind = Kind::KeyDown;
  platform::Key key;
  platform::MouseButton button = platform::MouseButton::Left;
  int x = 0;
  int y = 0;
  int pad = 0;  // 1 to kScriptPads
  platform::ControllerInput::Button padButton = platform::ControllerInput::Button::A;
  int line = 0;
};

inline constexpr int kScriptPads = 4;

class InputScript {
 public:
  // Reads a whole script. On a malformed line returns null and sets `error` to
  // "NAME:LINE: what is wrong".
  static std::optional<InputScript> parse(std::istream& in, const std::string& name,
                                          std::string& error);
  static std::optional<InputScript> load(const std::string& path, std::string& error);

  // Pushes the events of `frame` into the event queue, in file order, connecting and
  // disconnecting controllers as the script says. Returns what went wrong, or an empty text.
  std::string deliver(std::int64_t frame);

  const std::vector<ScriptEvent>& events() const { return events_; }

 private:
  std::vector<ScriptEvent> events_;  // ordered by frame, then file order
  std::size_t next = 0;
  int pointerX = 0;
  int pointerY = 0;
  std::array<std::unique_ptr<platform::VirtualController>, kScriptPads> pads;
};
