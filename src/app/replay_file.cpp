#include "app/replay_file.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string_view>

#include "chart/preference_file.h"
#include "platform/text_fields.h"

namespace {

// A day of play at the frame timer's 100 frames a second: a longer count is damage, and would
// only make the reader ask for gigabytes.
constexpr std::int64_t kMaxFrames = std::int64_t(24) * 3600 * 100;
// The largest drawing area, on each side, that a replay may name.
constexpr int kMaxSide = 16384;

template <typename Number>
std::string numberText(Number value) {
  char buffer[64];
  const auto [end, status] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, end);
}

// The rest of `line` after its first word, as written (a JSON object may hold spaces).
std::string_view restAfterFirstWord(std::string_view line) {
  std::size_t at = line.find_first_of(" \t");
  if (at == std::string_view::npos) return {};
  at = line.find_first_not_of(" \t", at);
  if (at == std::string_view::npos) return {};
  std::string_view rest = line.substr(at);
  while (!rest.empty() && (rest.back() == '\r' || rest.back() == ' ')) rest.remove_suffix(1);
  return rest;
}

struct NamedCharacter {
  std::string_view name;
  char16_t character;
};
constexpr NamedCharacter kNamedCharacters[] = {
    {"Left", platform::kLeftArrowCharacter}, {"Right", platform::kRightArrowCharacter},
    {"Up", platform::kUpArrowCharacter},     {"Down", platform::kDownArrowCharacter},
    {"Space", u' '},                          {"Return", u'\r'},
    {"Escape", char16_t(0x1B)},
};

// Frame items as read, before they are laid out frame by frame.
struct Change {
  std::int64_t frame = 0;
  int line = 0;
  enum class Kind : std::uint8_t { Size, Pointer, Event } kind = Kind::Event;
  platform::Size size;
  platform::Point pointer;
  platform::InputEvent event;
};

class Reader {
 public:
  Reader(const std::string& fileName, std::string& message) : name(fileName), error(message) {}

  std::optional<Replay> read(std::istream& in);

 private:
  bool fail(int line, const std::string& what) {
    error = name + ":" + std::to_string(line) + ": " + what;
    return false;
  }
  bool readFirstLine(const std::vector<std::string_view>& words, int line);
  bool readHeader(const std::vector<std::string_view>& words, std::string_view text, int line);
  bool readFrameItem(const std::vector<std::string_view>& words, int line);
  bool readEvent(const std::vector<std::string_view>& words, int line, Change& change);
  bool finish(int line);

  const std::string& name;
  std::string& error;
  Replay replay;
  bool begun = false;
  std::optional<std::int64_t> endFrames;
  std::int64_t lengthsUpTo = 0;  // frames given a length so far
  std::vector<std::pair<float, std::int64_t>> lengthRuns;
  std::vector<Change> changes;
  int gameLine = 0;
  int windowLine = 0;
};

bool Reader::readFirstLine(const std::vector<std::string_view>& words, int line) {
  int version = 0;
  if (words[0] != "aloft-replay" || words.size() != 2 || !platform::parseWhole(words[1], version)) {
    return fail(line, "not a replay: it does not begin with \"aloft-replay VERSION\"");
  }
  if (version != kReplayFormatVersion) {
    return fail(line, "a replay of format version " + std::string(words[1]) +
                          "; this game reads version " + std::to_string(kReplayFormatVersion));
  }
  replay.formatLine = line;
  begun = true;
  return true;
}

bool Reader::readHeader(const std::vector<std::string_view>& words, std::string_view text,
                        int line) {
  const std::string_view item = words[0];
  if (!lengthRuns.empty() || !changes.empty()) {
    return fail(line, "\"" + std::string(item) + "\" belongs before the first frame");
  }
  if (item == "game" && words.size() == 2) {
    replay.gameVersion = words[1];
    gameLine = line;
  } else if (item == "window" && words.size() == 2) {
    const std::string_view size = words[1];
    const auto x = size.find('x');
    if (x == std::string_view::npos ||
        !platform::parseWhole(size.substr(0, x), replay.window.width) ||
        !platform::parseWhole(size.substr(x + 1), replay.window.height) ||
        replay.window.width < 1 || replay.window.height < 1 || replay.window.width > kMaxSide ||
        replay.window.height > kMaxSide) {
      return fail(line, "window takes WIDTHxHEIGHT in points, from 1 to 16384");
    }
    windowLine = line;
  } else if (item == "resources" && words.size() == 2) {
    replay.resourceDigest = words[1];
    replay.resourcesLine = line;
  } else if (item == "prefs" && words.size() >= 2) {
    replay.preferences = restAfterFirstWord(text);
    replay.preferencesLine = line;
    if (!chart::parsePreferences(replay.preferences)) {
      return fail(line, "prefs takes a JSON object");
    }
  } else if (item == "start" && words.size() == 2) {
    replay.startMode = words[1];
  } else if (item == "state" && words.size() == 4) {
    CellState state{std::string(words[1]), std::string(words[2]), 0};
    if (!platform::parseWhole(words[3], state.value)) return fail(line, "state needs a number");
    replay.startState.push_back(state);
  } else if (item == "claim" && words.size() == 3) {
    replay.claimKey = words[1];
    replay.claimTime = words[2];
    if (bestRunFrameLimit(replay.claimTime) < 0) return fail(line, "claim takes MODE MM:SS.CC");
  } else {
    return fail(line, "\"" + std::string(item) + "\" is not a replay item, or has the wrong "
                      "number of words");
  }
  return true;
}

bool Reader::readEvent(const std::vector<std::string_view>& words, int line, Change& change) {
  using platform::InputKind;
  const std::string_view kind = words[1];
  if (words.size() != 3) return fail(line, "\"" + std::string(kind) + "\" takes 1 argument");
  change.kind = Change::Kind::Event;
  if (kind == "key-down" || kind == "key-up") {
    const auto character = keyCharacter(words[2]);
    if (!character) return fail(line, "unknown key \"" + std::string(words[2]) + "\"");
    change.event = {kind == "key-down" ? InputKind::KeyDown : InputKind::KeyUp, *character};
    return true;
  }
  const bool down = kind == "mouse-down";
  if (words[2] == "left") {
    change.event.kind = down ? InputKind::LeftMouseDown : InputKind::LeftMouseUp;
  } else if (words[2] == "right") {
    change.event.kind = down ? InputKind::RightMouseDown : InputKind::RightMouseUp;
  } else {
    return fail(line, "unknown mouse button \"" + std::string(words[2]) + "\" (left or right)");
  }
  return true;
}

bool Reader::readFrameItem(const std::vector<std::string_view>& words, int line) {
  Change change;
  if (!platform::parseWhole(words[0], change.frame) || change.frame < 1 ||
      change.frame > kMaxFrames) {
    return fail(line, "\"" + std::string(words[0]) + "\" is neither a replay item nor a frame");
  }
  if (words.size() < 2) return fail(line, "an item is missing after the frame");
  if (!changes.empty() && change.frame < changes.back().frame) {
    return fail(line, "frame " + std::string(words[0]) + " comes after frame " +
                          std::to_string(changes.back().frame));
  }
  change.line = line;
  const std::string_view kind = words[1];
  if (kind == "length") {
    float seconds = 0;
    std::int64_t count = 1;
    if ((words.size() != 3 && words.size() != 4) || !platform::parseWhole(words[2], seconds) ||
        !(seconds >= 0 && seconds <= kMaxFrameSeconds) ||
        (words.size() == 4 && (!platform::parseWhole(words[3], count) || count < 1))) {
      return fail(line, "length takes SECONDS, from 0 to 1, and an optional COUNT from 1 up");
    }
    if (change.frame != lengthsUpTo + 1) {
      return fail(line, "the length of frame " + std::to_string(lengthsUpTo + 1) +
                            " is missing: this line gives frame " + std::string(words[0]));
    }
    if (count > kMaxFrames - lengthsUpTo) return fail(line, "more frames than a replay holds");
    lengthsUpTo += count;
    lengthRuns.emplace_back(seconds, count);
    return true;
  }
  if (kind == "size") {
    change.kind = Change::Kind::Size;
    if (words.size() != 4 || !platform::parseWhole(words[2], change.size.width) ||
        !platform::parseWhole(words[3], change.size.height) || change.size.width < 1 ||
        change.size.height < 1 || change.size.width > kMaxSide || change.size.height > kMaxSide) {
      return fail(line, "size takes WIDTH HEIGHT in pixels, from 1 to 16384");
    }
  } else if (kind == "pointer") {
    change.kind = Change::Kind::Pointer;
    if (words.size() != 4 || !platform::parseWhole(words[2], change.pointer.x) ||
        !platform::parseWhole(words[3], change.pointer.y) || !std::isfinite(change.pointer.x) ||
        !std::isfinite(change.pointer.y)) {
      return fail(line, "pointer takes X Y, finite numbers");
    }
  } else if (kind == "key-down" || kind == "key-up" || kind == "mouse-down" ||
             kind == "mouse-up") {
    if (!readEvent(words, line, change)) return false;
  } else {
    return fail(line, "unknown frame item \"" + std::string(kind) + "\"");
  }
  changes.push_back(change);
  return true;
}

bool Reader::finish(int line) {
  if (!endFrames) return fail(line, "the replay ends without its \"end\" line: it is cut short");
  if (gameLine == 0 || windowLine == 0 || replay.resourcesLine == 0) {
    return fail(line, "the header lacks its \"game\", \"window\" or \"resources\" line");
  }
  if (const std::int64_t limit = bestRunFrameLimit(replay.claimTime);
      replay.isBestRun() && *endFrames > limit) {
    return fail(line, std::to_string(*endFrames) + " frames for a run of " + replay.claimTime +
                          ": more than " + std::to_string(limit) +
                          " (a thousand a second, and ten minutes of waiting)");
  }
  if (lengthsUpTo != *endFrames) {
    return fail(line, "\"end\" counts " + std::to_string(*endFrames) + " frames, the lengths " +
                          std::to_string(lengthsUpTo));
  }
  for (const Change& change : changes) {
    if (change.frame > *endFrames) return fail(change.line, "a frame after the last one");
  }
  replay.frames.resize(std::size_t(*endFrames));
  std::size_t at = 0;
  for (const auto& [seconds, count] : lengthRuns) {
    for (std::int64_t i = 0; i < count; ++i) replay.frames[at++].length = seconds;
  }
  // Each frame carries on from the one before, then takes its own changes.
  FrameInput current;
  current.drawable = replay.window;
  std::size_t next = 0;
  for (std::size_t frame = 0; frame < replay.frames.size(); ++frame) {
    for (; next < changes.size() && changes[next].frame == std::int64_t(frame) + 1; ++next) {
      const Change& change = changes[next];
      if (change.kind == Change::Kind::Size) current.drawable = change.size;
      if (change.kind == Change::Kind::Pointer) current.pointer = change.pointer;
      if (change.kind == Change::Kind::Event) current.event = change.event;
    }
    current.length = replay.frames[frame].length;
    replay.frames[frame] = current;
  }
  return true;
}

std::optional<Replay> Reader::read(std::istream& in) {
  std::string text;
  int line = 0;
  while (std::getline(in, text)) {
    ++line;
    std::string_view content = text;
    content = content.substr(0, content.find('#'));
    const auto words = platform::splitWords(content);
    if (words.empty()) continue;
    if (endFrames) {
      fail(line, "text after the \"end\" line");
      return std::nullopt;
    }
    bool read = true;
    if (!begun) {
      read = readFirstLine(words, line);
    } else if (words[0] == "end") {
      std::int64_t frames = 0;
      if (words.size() != 2 || !platform::parseWhole(words[1], frames) || frames < 1) {
        fail(line, "end takes the number of frames");
        return std::nullopt;
      }
      endFrames = frames;
    } else if (words[0][0] >= '0' && words[0][0] <= '9') {
      read = readFrameItem(words, line);
    } else {
      read = readHeader(words, text, line);
    }
    if (!read) return std::nullopt;
  }
  if (!begun) {
    fail(1, "not a replay: it is empty");
    return std::nullopt;
  }
  if (!finish(line + 1)) return std::nullopt;
  return std::move(replay);
}

std::string eventText(const platform::InputEvent& event) {
  using platform::InputKind;
  switch (event.kind) {
    case InputKind::KeyDown: return "key-down " + keyName(event.character);
    case InputKind::KeyUp: return "key-up " + keyName(event.character);
    case InputKind::LeftMouseDown: return "mouse-down left";
    case InputKind::LeftMouseUp: return "mouse-up left";
    case InputKind::RightMouseDown: return "mouse-down right";
    case InputKind::RightMouseUp: return "mouse-up right";
    case InputKind::None: break;
  }
  return {};
}

bool sameEvent(const platform::InputEvent& a, const platform::InputEvent& b) {
  return a.kind == b.kind && a.character == b.character;
}

}  // namespace

std::string keyName(char16_t character) {
  for (const NamedCharacter& named : kNamedCharacters) {
    if (named.character == character) return std::string(named.name);
  }
  const char16_t f1 = platform::kF1Character;
  if (character >= f1 && character < f1 + 12) return "F" + std::to_string(character - f1 + 1);
  if (character > u' ' && character < 0x7F && character != u'#') {
    return std::string(1, char(character));
  }
  char code[8];
  std::snprintf(code, sizeof code, "U+%04X", unsigned(character));
  return code;
}

std::optional<char16_t> keyCharacter(std::string_view name) {
  for (const NamedCharacter& named : kNamedCharacters) {
    if (named.name == name) return named.character;
  }
  unsigned number = 0;
  if (name.size() >= 2 && name[0] == 'F' && platform::parseWhole(name.substr(1), number) &&
      number >= 1 && number <= 12) {
    return char16_t(platform::kF1Character + number - 1);
  }
  if (name.size() == 1 && name[0] > ' ' && name[0] < 0x7F) return char16_t(name[0]);
  if (name.size() == 6 && name.substr(0, 2) == "U+") {
    const auto [end, status] = std::from_chars(name.data() + 2, name.data() + 6, number, 16);
    if (status == std::errc() && end == name.data() + 6) return char16_t(number);
  }
  return std::nullopt;
}

std::int64_t bestRunFrameLimit(const std::string& claimTime) {
  constexpr std::int64_t kMaxFramesPerSecond = 1000;
  constexpr std::int64_t kMaxWaitSeconds = 600;
  const std::string& t = claimTime;
  if (t.size() != 8 || t[2] != ':' || t[5] != '.') return -1;
  for (const std::size_t at : {0, 1, 3, 4, 6, 7}) {
    if (t[at] < '0' || t[at] > '9') return -1;
  }
  auto digits = [&](std::size_t at) { return (t[at] - '0') * 10 + (t[at + 1] - '0'); };
  if (digits(3) > 59) return -1;
  const std::int64_t seconds = std::int64_t(digits(0)) * 60 + digits(3) + 1;
  return (seconds + kMaxWaitSeconds) * kMaxFramesPerSecond;
}

std::optional<Replay> parseReplay(std::istream& in, const std::string& name, std::string& error) {
  return Reader(name, error).read(in);
}

std::optional<Replay> loadReplay(const std::string& path, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = path + ": cannot be read: " + std::strerror(errno);
    return std::nullopt;
  }
  return parseReplay(file, path, error);
}

std::string formatReplay(const Replay& replay) {
  std::string out;
  out += "aloft-replay " + std::to_string(kReplayFormatVersion) + "\n";
  out += "game " + replay.gameVersion + "\n";
  out += "window " + std::to_string(replay.window.width) + "x" +
         std::to_string(replay.window.height) + "\n";
  out += "resources " + replay.resourceDigest + "\n";
  out += "prefs " + replay.preferences + "\n";
  if (!replay.startMode.empty()) out += "start " + replay.startMode + "\n";
  for (const CellState& state : replay.startState) {
    out += "state " + state.chart + " " + state.cell + " " + numberText(state.value) + "\n";
  }
  if (replay.isBestRun()) out += "claim " + replay.claimKey + " " + replay.claimTime + "\n";

  FrameInput previous;
  previous.drawable = replay.window;
  const std::size_t count = replay.frames.size();
  std::size_t runEnd = 0;  // one past the last frame of the current run of equal lengths
  for (std::size_t at = 0; at < count; ++at) {
    const FrameInput& frame = replay.frames[at];
    const std::string number = std::to_string(at + 1);
    if (at == runEnd) {
      runEnd = at + 1;
      while (runEnd < count && replay.frames[runEnd].length == frame.length) ++runEnd;
      out += number + " length " + numberText(frame.length);
      if (runEnd - at > 1) out += " " + std::to_string(runEnd - at);
      out += "\n";
    }
    if (!(frame.drawable == previous.drawable)) {
      out += number + " size " + std::to_string(frame.drawable.width) + " " +
             std::to_string(frame.drawable.height) + "\n";
    }
    if (frame.pointer.x != previous.pointer.x || frame.pointer.y != previous.pointer.y) {
      out += number + " pointer " + numberText(frame.pointer.x) + " " +
             numberText(frame.pointer.y) + "\n";
    }
    if (!sameEvent(frame.event, previous.event) && frame.event.kind != platform::InputKind::None) {
      out += number + " " + eventText(frame.event) + "\n";
    }
    previous = frame;
  }
  out += "end " + std::to_string(count) + "\n";
  return out;
}
