// Input and window events, translated from SDL into the game's terms, and synthesised input that
// enters the same queue as real input (scripted runs and tests).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

class Window;

// The kinds of input event the charts can see; the numbers are the event type codes the charts
// were written against.
enum class InputKind : std::uint8_t {
  None = 0,
  LeftMouseDown = 1,
  LeftMouseUp = 2,
  RightMouseDown = 3,
  RightMouseUp = 4,
  KeyDown = 10,
  KeyUp = 11,
};

// Character codes of the keys that type no character.
inline constexpr char16_t kUpArrowCharacter = 0xF700;
inline constexpr char16_t kDownArrowCharacter = 0xF701;
inline constexpr char16_t kLeftArrowCharacter = 0xF702;
inline constexpr char16_t kRightArrowCharacter = 0xF703;
inline constexpr char16_t kF1Character = 0xF704;  // F2 to F12 follow in order

struct InputEvent {
  InputKind kind = InputKind::None;
  // The first UTF-16 code unit of the key's characters: as typed for printable keys, the codes
  // above for arrows and function keys, 0 for a key that types nothing.
  char16_t character = 0;

  bool isDown() const {
    return kind == InputKind::KeyDown || kind == InputKind::LeftMouseDown ||
           kind == InputKind::RightMouseDown;
  }
};

// What the window's menu would offer: handled by the application, never seen by the charts.
enum class Command : std::uint8_t {
  ToggleFullScreen,
  TogglePause,
  Quit,
  ToggleMute,
  VolumeDown,
  VolumeUp,
};

// A game controller's button or left stick, as the game uses them. `controller` is SDL's
// instance id: it names one connection of one device.
struct ControllerInput {
  enum class Kind : std::uint8_t { Connected, Disconnected, ButtonDown, ButtonUp, StickX };
  enum class Button : std::uint8_t { A, B, Start, Up, Down, Left, Right };
  Kind kind = Kind::Connected;
  Button button = Button::A;
  std::int32_t controller = 0;
  std::int16_t stickX = 0;  // StickX: the left stick's horizontal position, left negative
};

// The pointer in window base coordinates: origin at the bottom left of the drawing area, y up,
// in drawable pixels.
struct Point {
  double x = 0;
  double y = 0;
};

struct Event {
  enum class Type : std::uint8_t {
    Ignored,
    Input,         // `input` holds it; mouse buttons also carry `pointer`
    PointerMoved,  // `pointer` holds the new position
    Command,       // `command` holds it
    Controller,    // `controller` holds it
    Resized,
    FocusLost,     // the window lost the keyboard focus or was minimised
    FocusGained,
  };
  Type type = Type::Ignored;
  InputEvent input;
  Command command = Command::Quit;
  ControllerInput controller;
  bool shift = false;  // a key event's Shift modifier
  std::optional<Point> pointer;
};

// Makes SIGHUP, SIGINT, SIGQUIT and SIGTERM ask the game to quit as Ctrl+Q does: every event
// taken from then on is the quit command. Called before SDL starts, which then installs no
// handlers of its own.
void catchQuitSignals();
// The signal that asked the game to quit; 0 while none did.
int quitSignal();
// True once a quit signal has come, with `event` made the quit command. Asked at every take of
// an event, so that nothing queued delays it.
bool quitBySignal(Event& event);
// From now on a quit signal ends the process at once, with status 128 + the signal: for the
// fatal alert's box, once everything is written.
void exitOnQuitSignal();

// Takes the next event from the queue; false when the queue is empty. A quit signal is taken
// first.
bool pollEvent(const Window& window, Event& event);
// As `pollEvent`, but waits up to `timeoutMs` milliseconds for an event to arrive (a quit
// signal is seen at the end of the wait at the latest).
bool waitEvent(const Window& window, Event& event, int timeoutMs);

// A key that synthesised input can press. Names: one printable ASCII character, or one of
// Left Right Up Down Space Return Tab Escape Minus Plus F1 ... F12, each optionally after
// "Ctrl+" and/or "Shift+" (e.g. Shift+Tab, Ctrl+m).
struct Key {
  std::int32_t code = 0;
  bool shifted = false;
  bool control = false;
};
std::optional<Key> keyNamed(std::string_view name);

enum class MouseButton : std::uint8_t { Left, Right };

// Synthesised input, appended to the event queue. Positions are window coordinates in points
// with the origin at the top left, like the system's own pointer events.
void pushKey(const Key& key, bool down);
void pushMouseMove(int x, int y);
void pushMouseButton(MouseButton button, bool down, int x, int y);
void pushFocusChange(bool gained);
void pushCommandKey(Command command);

}  // namespace platform
