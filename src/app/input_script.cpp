#include "app/input_script.h"

#include <algorithm>
#include <charconv>
#include <sstream>
#include <string_view>

#include "platform/files.h"
#include "platform/text_fields.h"

namespace {

std::string parsePadEvent(const std::vector<std::string_view>& words, ScriptEvent& event) {
  using Kind = ScriptEvent::Kind;
  using Button = platform::ControllerInput::Button;
  static constexpr std::array<std::pair<std::string_view, Kind>, 5> kinds{{
      {"pad-connect", Kind::PadConnect}, {"pad-disconnect", Kind::PadDisconnect},
      {"pad-down", Kind::PadDown}, {"pad-up", Kind::PadUp}, {"pad-stick", Kind::PadStick}}};
  static constexpr std::array<std::pair<std::string_view, Button>, 7> buttons{{
      {"a", Button::A}, {"b", Button::B}, {"start", Button::Start}, {"up", Button::Up},
      {"down", Button::Down}, {"left", Button::Left}, {"right", Button::Right}}};

  const std::string_view kind = words[1];
  const auto found = std::find_if(kinds.begin(), kinds.end(),
                                  [&](const auto& entry) { return entry.first == kind; });
  if (found == kinds.end()) return "unknown event \"" + std::string(kind) + "\"";
  event.kind = found->second;
  const bool connection = event.kind == Kind::PadConnect || event.kind == Kind::PadDisconnect;
  const std::size_t count = connection ? 1 : 2;
  if (words.size() != 2 + count) {
    return "\"" + std::string(kind) + "\" takes " + std::to_string(count) +
           (count == 1 ? " argument" : " arguments");
  }
  if (!platform::parseWhole(words[2], event.pad) || event.pad < 1 || event.pad > kScriptPads) {
    return "pad \"" + std::string(words[2]) + "\" is not a whole number from 1 to " +
           std::to_string(kScriptPads);
  }
  if (event.kind == Kind::PadStick) {
    if (!platform::parseWhole(words[3], event.x) || event.x < -32768 || event.x > 32767) {
      return "pad-stick needs a whole number from -32768 to 32767";
    }
  } else if (!connection) {
    const auto button = std::find_if(buttons.begin(), buttons.end(),
                                     [&](const auto& entry) { return entry.first == words[3]; });
    if (button == buttons.end()) {
      return "unknown pad button \"" + std::string(words[3]) +
             "\" (a b start up down left right)";
    }
    event.padButton = button->second;
  }
  return {};
}

// Parses one line's words into `event`; returns what is wrong, or an empty text.
std::string parseEvent(const std::vector<std::string_view>& words, ScriptEvent& event) {
  if (!platform::parseWhole(words[0], event.frame) || event.frame < 1) {
    return "frame \"" + std::string(words[0]) + "\" is not a whole number from 1 up";
  }
  if (words.size() < 2) return "an event is missing after the frame";
  const std::string_view kind = words[1];
  auto expectArguments = [&](std::size_t count) -> std::string {
    if (words.size() == 2 + count) return {};
    return "\"" + std::string(kind) + "\" takes " + std::to_string(count) +
           (count == 1 ? " argument" : " arguments");
  };

  if (kind == "key-down" || kind == "key-up") {
    if (auto problem = expectArguments(1); !problem.empty()) return problem;
    event.kind = kind == "key-down" ? ScriptEvent::Kind::KeyDown : ScriptEvent::Kind::KeyUp;
    auto key = platform::keyNamed(words[2]);
    if (!key) return "unknown key \"" + std::string(words[2]) + "\"";
    event.key = *key;
  } else if (kind == "mouse-move") {
    if (auto problem = expectArguments(2); !problem.empty()) return problem;
    event.kind = ScriptEvent::Kind::MouseMove;
    if (!platform::parseWhole(words[2], event.x) || !platform::parseWhole(words[3], event.y)) {
      return "mouse-move needs two whole numbers";
    }
  } else if (kind == "mouse-down" || kind == "mouse-up") {
    if (auto problem = expectArguments(1); !problem.empty()) return problem;
    event.kind = kind == "mouse-down" ? ScriptEvent::Kind::MouseDown : ScriptEvent::Kind::MouseUp;
    if (words[2] == "left") {
      event.button = platform::MouseButton::Left;
    } else if (words[2] == "right") {
      event.button = platform::MouseButton::Right;
    } else {
      return "unknown mouse button \"" + std::string(words[2]) + "\" (left or right)";
    }
  } else if (kind.substr(0, 4) == "pad-") {
    return parsePadEvent(words, event);
  } else {
    return "unknown event \"" + std::string(kind) + "\"";
  }
  return {};
}

// Checks that every pad event comes while its pad is connected, in the order they will run.
std::string checkPadOrder(const std::vector<ScriptEvent>& events, const std::string& name) {
  std::array<bool, kScriptPads + 1> connected{};
  for (const ScriptEvent& event : events) {
    using Kind = ScriptEvent::Kind;
    if (event.pad == 0) continue;
    const bool isConnected = connected[std::size_t(event.pad)];
    const std::string where = name + ":" + std::to_string(event.line) + ": pad " +
                              std::to_string(event.pad);
    if (event.kind == Kind::PadConnect) {
      if (isConnected) return where + " is already connected";
      connected[std::size_t(event.pad)] = true;
    } else if (!isConnected) {
      return where + " is not connected (pad-connect it first)";
    } else if (event.kind == Kind::PadDisconnect) {
      connected[std::size_t(event.pad)] = false;
    }
  }
  return {};
}

}  // namespace

std::optional<InputScript> InputScript::parse(std::istream& in, const std::string& name,
                                              std::string& error) {
  InputScript script;
  std::string line;
  for (int lineNumber = 1; std::getline(in, line); ++lineNumber) {
    std::string_view text = line;
    // A NUL or another control character is never part of a script: refused, not cut at or
    // echoed back to the terminal.
    if (std::any_of(line.begin(), line.end(), [](char c) {
          return (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r') || c == 0x7f;
        })) {
      error = name + ":" + std::to_string(lineNumber) + ": a control character in the line";
      return std::nullopt;
    }
    text = text.substr(0, text.find('#'));
    const auto words = platform::splitWords(text);
    if (words.empty()) continue;
    ScriptEvent event;
    event.line = lineNumber;
    if (std::string problem = parseEvent(words, event); !problem.empty()) {
      error = name + ":" + std::to_string(lineNumber) + ": " + problem;
      return std::nullopt;
    }
    script.events_.push_back(event);
  }
  std::stable_sort(script.events_.begin(), script.events_.end(),
                   [](const ScriptEvent& a, const ScriptEvent& b) { return a.frame < b.frame; });
  if (std::string problem = checkPadOrder(script.events_, name); !problem.empty()) {
    error = problem;
    return std::nullopt;
  }
  return script;
}

namespace {

// A script of this size holds millions of events; anything larger is not one.
constexpr std::size_t kMaxScriptBytes = std::size_t(64) << 20;

}  // namespace

std::optional<InputScript> InputScript::load(const std::string& path, std::string& error) {
  std::string contents;
  if (const platform::FileError failed =
          platform::readRegularFile(path, kMaxScriptBytes + 1, contents)) {
    error = path + ": cannot be read: " + failed.reason();
    return std::nullopt;
  }
  if (contents.size() > kMaxScriptBytes) {
    error = path + ": is over " + std::to_string(kMaxScriptBytes >> 20) + " MB: no script is";
    return std::nullopt;
  }
  std::istringstream in(contents);
  return parse(in, path, error);
}

std::string InputScript::deliver(std::int64_t frame) {
  while (next < events_.size() && events_[next].frame < frame) ++next;
  for (; next < events_.size() && events_[next].frame == frame; ++next) {
    const ScriptEvent& event = events_[next];
    switch (event.kind) {
      case ScriptEvent::Kind::KeyDown:
      case ScriptEvent::Kind::KeyUp:
        platform::pushKey(event.key, event.kind == ScriptEvent::Kind::KeyDown);
        break;
      case ScriptEvent::Kind::MouseMove:
        pointerX = event.x;
        pointerY = event.y;
        platform::pushMouseMove(pointerX, pointerY);
        break;
      case ScriptEvent::Kind::MouseDown:
      case ScriptEvent::Kind::MouseUp:
        platform::pushMouseButton(event.button, event.kind == ScriptEvent::Kind::MouseDown,
                                  pointerX, pointerY);
        break;
      case ScriptEvent::Kind::PadConnect: {
        std::string error;
        pads[std::size_t(event.pad - 1)] = platform::VirtualController::connect(error);
        if (!pads[std::size_t(event.pad - 1)]) {
          return "The script's game controller could not be connected: " + error;
        }
        break;
      }
      case ScriptEvent::Kind::PadDisconnect:
        pads[std::size_t(event.pad - 1)].reset();
        break;
      case ScriptEvent::Kind::PadDown:
      case ScriptEvent::Kind::PadUp:
        pads[std::size_t(event.pad - 1)]->setButton(event.padButton,
                                                    event.kind == ScriptEvent::Kind::PadDown);
        break;
      case ScriptEvent::Kind::PadStick:
        pads[std::size_t(event.pad - 1)]->setStickX(std::int16_t(event.x));
        break;
    }
  }
  return {};
}
