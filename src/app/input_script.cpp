#include "app/input_script.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <string_view>

namespace {

template <typename Number>
bool parseNumber(std::string_view text, Number& value) {
  const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
  return status == std::errc() && end == text.data() + text.size();
}

std::vector<std::string_view> splitWords(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

// Parses one line's words into `event`; returns what is wrong, or an empty text.
std::string parseEvent(const std::vector<std::string_view>& words, ScriptEvent& event) {
  if (!parseNumber(words[0], event.frame) || event.frame < 1) {
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
    if (!parseNumber(words[2], event.x) || !parseNumber(words[3], event.y)) {
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
  } else {
    return "unknown event \"" + std::string(kind) + "\"";
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
    text = text.substr(0, text.find('#'));
    const auto words = splitWords(text);
    if (words.empty()) continue;
    ScriptEvent event;
    if (std::string problem = parseEvent(words, event); !problem.empty()) {
      error = name + ":" + std::to_string(lineNumber) + ": " + problem;
      return std::nullopt;
    }
    script.events_.push_back(event);
  }
  std::stable_sort(script.events_.begin(), script.events_.end(),
                   [](const ScriptEvent& a, const ScriptEvent& b) { return a.frame < b.frame; });
  return script;
}

std::optional<InputScript> InputScript::load(const std::string& path, std::string& error) {
  std::ifstream file(path);
  if (!file) {
    error = path + ": cannot be read";
    return std::nullopt;
  }
  return parse(file, path, error);
}

void InputScript::deliver(std::int64_t frame) {
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
    }
  }
}
