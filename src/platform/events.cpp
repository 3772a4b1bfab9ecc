#include "platform/events.h"

#include <SDL.h>

#include <array>
#include <utility>

#include "platform/game_controllers.h"
#include "platform/window.h"

namespace platform {

namespace {

// Characters of the keys that type none, as the charts know them.
std::optional<char16_t> functionKeyCharacter(SDL_Keycode sym) {
  switch (sym) {
    case SDLK_UP: return kUpArrowCharacter;
    case SDLK_DOWN: return kDownArrowCharacter;
    case SDLK_LEFT: return kLeftArrowCharacter;
    case SDLK_RIGHT: return kRightArrowCharacter;
    case SDLK_BACKSPACE: return char16_t(0x7F);
    case SDLK_INSERT: return char16_t(0xF727);
    case SDLK_DELETE: return char16_t(0xF728);
    case SDLK_HOME: return char16_t(0xF729);
    case SDLK_END: return char16_t(0xF72B);
    case SDLK_PAGEUP: return char16_t(0xF72C);
    case SDLK_PAGEDOWN: return char16_t(0xF72D);
    default: break;
  }
  if (sym >= SDLK_F1 && sym <= SDLK_F12) return char16_t(kF1Character + (sym - SDLK_F1));
  return std::nullopt;
}

bool isModifierKey(SDL_Keycode sym) {
  switch (sym) {
    case SDLK_LSHIFT: case SDLK_RSHIFT: case SDLK_LCTRL: case SDLK_RCTRL:
    case SDLK_LALT: case SDLK_RALT: case SDLK_LGUI: case SDLK_RGUI:
    case SDLK_CAPSLOCK: case SDLK_NUMLOCKCLEAR: case SDLK_MODE:
      return true;
    default:
      return false;
  }
}

// The first UTF-16 code unit of a UTF-8 text (the high surrogate for characters beyond the
// basic plane).
char16_t firstUtf16Unit(const char* text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  char32_t c = bytes[0];
  int extra = 0;
  if (c >= 0xF0) { c &= 0x07; extra = 3; }
  else if (c >= 0xE0) { c &= 0x0F; extra = 2; }
  else if (c >= 0xC0) { c &= 0x1F; extra = 1; }
  for (int i = 1; i <= extra; ++i) {
    if ((bytes[i] & 0xC0) != 0x80) return 0;  // truncated or malformed
    c = (c << 6) | (bytes[i] & 0x3F);
  }
  if (c >= 0x10000) return char16_t(0xD800 + ((c - 0x10000) >> 10));
  return char16_t(c);
}

// The character a key-down types. The system delivers the typed text as a separate event right
// after the key; when it is there it is taken with the key, so shifted symbols and other keyboard
// layouts come out as typed. Synthesised keys have no text event and use the key's own symbol.
char16_t typedCharacter(const SDL_KeyboardEvent& key, bool isDown) {
  if (auto special = functionKeyCharacter(key.keysym.sym)) return *special;
  if (isDown) {
    SDL_Event next;
    if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 &&
        next.type == SDL_TEXTINPUT) {
      SDL_PeepEvents(&next, 1, SDL_GETEVENT, SDL_TEXTINPUT, SDL_TEXTINPUT);
      if (char16_t c = firstUtf16Unit(next.text.text)) return c;
    }
  }
  const SDL_Keycode sym = key.keysym.sym;
  if (sym <= 0 || sym >= 0x80) return 0;
  const bool shift = (key.keysym.mod & KMOD_SHIFT) != 0;
  const bool caps = (key.keysym.mod & KMOD_CAPS) != 0;
  if (sym >= 'a' && sym <= 'z' && shift != caps) return char16_t(sym - 'a' + 'A');
  return char16_t(sym);
}

std::optional<Command> commandFor(const SDL_Keysym& key) {
  const bool ctrl = (key.mod & KMOD_CTRL) != 0;
  const bool alt = (key.mod & KMOD_ALT) != 0;
  if (key.sym == SDLK_F11 || (alt && (key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER))) {
    return Command::ToggleFullScreen;
  }
  if (key.sym == SDLK_PAUSE || (ctrl && key.sym == SDLK_p)) return Command::TogglePause;
  if (ctrl && key.sym == SDLK_q) return Command::Quit;
  if (ctrl && key.sym == SDLK_m) return Command::ToggleMute;
  if (ctrl && (key.sym == SDLK_MINUS || key.sym == SDLK_KP_MINUS)) return Command::VolumeDown;
  // Plus is Shift+Equals on most layouts: either spelling turns the sound up.
  if (ctrl && (key.sym == SDLK_PLUS || key.sym == SDLK_EQUALS || key.sym == SDLK_KP_PLUS)) {
    return Command::VolumeUp;
  }
  return std::nullopt;
}

Point toBase(const Window& window, double x, double y) {
  const Size points = window.sizeInPoints();
  const Size pixels = window.drawableSize();
  if (points.width <= 0 || points.height <= 0) return {x, y};
  const double scaleX = double(pixels.width) / points.width;
  const double scaleY = double(pixels.height) / points.height;
  return {x * scaleX, (points.height - y) * scaleY};
}

InputKind buttonKind(Uint8 button, bool down) {
  if (button == SDL_BUTTON_LEFT) return down ? InputKind::LeftMouseDown : InputKind::LeftMouseUp;
  if (button == SDL_BUTTON_RIGHT) {
    return down ? InputKind::RightMouseDown : InputKind::RightMouseUp;
  }
  return InputKind::None;
}

void translateKey(const SDL_KeyboardEvent& key, Event& event) {
  const bool down = key.type == SDL_KEYDOWN;
  if (isModifierKey(key.keysym.sym)) return;
  if (auto command = commandFor(key.keysym)) {
    if (down && !key.repeat) {
      event.type = Event::Type::Command;
      event.command = *command;
    }
    return;
  }
  event.type = Event::Type::Input;
  event.input.kind = down ? InputKind::KeyDown : InputKind::KeyUp;
  event.input.character = typedCharacter(key, down);
  event.shift = (key.keysym.mod & KMOD_SHIFT) != 0;
}

void translateWindowEvent(const SDL_WindowEvent& window, Event& event) {
  switch (window.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED: event.type = Event::Type::Resized; break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
    case SDL_WINDOWEVENT_MINIMIZED: event.type = Event::Type::FocusLost; break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_RESTORED: event.type = Event::Type::FocusGained; break;
    case SDL_WINDOWEVENT_CLOSE:
      event.type = Event::Type::Command;
      event.command = Command::Quit;
      break;
    default: break;
  }
}

void translate(const Window& window, const SDL_Event& raw, Event& event) {
  event = Event{};
  switch (raw.type) {
    case SDL_QUIT:
      event.type = Event::Type::Command;
      event.command = Command::Quit;
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      translateKey(raw.key, event);
      break;
    case SDL_MOUSEMOTION:
      event.type = Event::Type::PointerMoved;
      event.pointer = toBase(window, raw.motion.x, raw.motion.y);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const InputKind kind = buttonKind(raw.button.button, raw.type == SDL_MOUSEBUTTONDOWN);
      if (kind == InputKind::None) break;
      event.type = Event::Type::Input;
      event.input.kind = kind;
      event.pointer = toBase(window, raw.button.x, raw.button.y);
      break;
    }
    case SDL_WINDOWEVENT:
      translateWindowEvent(raw.window, event);
      break;
    default:
      translateControllerEvent(raw, event);
      break;
  }
}

Uint32 focusedWindowId() {
  SDL_Window* window = SDL_GL_GetCurrentWindow();
  return window ? SDL_GetWindowID(window) : 0;
}

void push(SDL_Event& event) { SDL_PushEvent(&event); }

std::optional<Key> unmodifiedKeyNamed(std::string_view name) {
  static constexpr std::array<std::pair<std::string_view, SDL_Keycode>, 8> named{{
      {"Left", SDLK_LEFT}, {"Right", SDLK_RIGHT}, {"Up", SDLK_UP}, {"Down", SDLK_DOWN},
      {"Space", SDLK_SPACE}, {"Return", SDLK_RETURN}, {"Tab", SDLK_TAB}, {"Escape", SDLK_ESCAPE},
  }};
  for (const auto& [keyName, code] : named) {
    if (name == keyName) return Key{code, false};
  }
  if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F') {
    int number = 0;
    for (char digit : name.substr(1)) {
      if (digit < '0' || digit > '9') return std::nullopt;
      number = number * 10 + (digit - '0');
    }
    if (number >= 1 && number <= 12) return Key{SDLK_F1 + (number - 1), false};
    return std::nullopt;
  }
  if (name.size() == 1 && name[0] > ' ' && name[0] < 0x7F) {
    const char c = name[0];
    if (c >= 'A' && c <= 'Z') return Key{c - 'A' + 'a', true};
    return Key{c, false};
  }
  return std::nullopt;
}

}  // namespace

bool pollEvent(const Window& window, Event& event) {
  if (quitBySignal(event)) return true;
  if (!window.exists()) return false;
  SDL_Event raw;
  if (!SDL_PollEvent(&raw)) return false;
  translate(window, raw, event);
  return true;
}

bool waitEvent(const Window& window, Event& event, int timeoutMs) {
  if (quitBySignal(event)) return true;
  if (!window.exists()) return false;
  SDL_Event raw;
  if (!SDL_WaitEventTimeout(&raw, timeoutMs)) return quitBySignal(event);
  translate(window, raw, event);
  return true;
}

std::optional<Key> keyNamed(std::string_view name) {
  bool control = false;
  bool shift = false;
  for (bool more = true; more;) {
    more = false;
    if (name.size() > 5 && name.substr(0, 5) == "Ctrl+") {
      control = more = true;
      name.remove_prefix(5);
    }
    if (name.size() > 6 && name.substr(0, 6) == "Shift+") {
      shift = more = true;
      name.remove_prefix(6);
    }
  }
  auto key = unmodifiedKeyNamed(name);
  if (!key) return std::nullopt;
  key->shifted = key->shifted || shift;
  key->control = control;
  return key;
}

void pushKey(const Key& key, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.windowID = focusedWindowId();
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.sym = key.code;
  event.key.keysym.scancode = SDL_GetScancodeFromKey(key.code);
  event.key.keysym.mod =
      Uint16((key.shifted ? KMOD_LSHIFT : KMOD_NONE) | (key.control ? KMOD_LCTRL : KMOD_NONE));
  push(event);
}

void pushMouseMove(int x, int y) {
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.windowID = focusedWindowId();
  event.motion.x = x;
  event.motion.y = y;
  push(event);
}

void pushMouseButton(MouseButton button, bool down, int x, int y) {
  SDL_Event event{};
  event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  event.button.windowID = focusedWindowId();
  event.button.button = button == MouseButton::Left ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT;
  event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.button.clicks = 1;
  event.button.x = x;
  event.button.y = y;
  push(event);
}

void pushFocusChange(bool gained) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.windowID = focusedWindowId();
  event.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
  push(event);
}

void pushCommandKey(Command command) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.windowID = focusedWindowId();
  event.key.state = SDL_PRESSED;
  // The keys a player would press for the command: F11, else Ctrl and a letter.
  switch (command) {
    case Command::ToggleFullScreen: event.key.keysym.sym = SDLK_F11; break;
    case Command::TogglePause: event.key.keysym.sym = SDLK_p; break;
    case Command::Quit: event.key.keysym.sym = SDLK_q; break;
    case Command::ToggleMute: event.key.keysym.sym = SDLK_m; break;
    case Command::VolumeDown: event.key.keysym.sym = SDLK_MINUS; break;
    case Command::VolumeUp: event.key.keysym.sym = SDLK_EQUALS; break;
  }
  if (command != Command::ToggleFullScreen) event.key.keysym.mod = KMOD_LCTRL;
  event.key.keysym.scancode = SDL_GetScancodeFromKey(event.key.keysym.sym);
  push(event);
}

}  // namespace platform
