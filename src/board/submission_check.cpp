#include "board/submission_check.h"

#include <charconv>
#include <cstdint>
#include <vector>

#include "platform/text_fields.h"

namespace board {
namespace {

constexpr std::size_t kMaxNameCharacters = 24;
constexpr float kShortestFrame = 0.001f;
constexpr float kFastestDisplay = 0.004f;
constexpr float kSlowestDisplay = 0.034f;
constexpr double kDisplayShare = 0.95;

// "MM:SS.CC" in hundredths.
std::optional<int> centiseconds(std::string_view time) {
  int minutes = 0, seconds = 0, hundredths = 0;
  if (time.size() != 8 || time[2] != ':' || time[5] != '.' ||
      !platform::parseWhole(time.substr(0, 2), minutes) ||
      !platform::parseWhole(time.substr(3, 2), seconds) ||
      !platform::parseWhole(time.substr(6, 2), hundredths) || seconds > 59) {
    return std::nullopt;
  }
  return (minutes * 60 + seconds) * 100 + hundredths;
}

// Decodes one UTF-8 character at `at`, moving past it; -1 when malformed.
long decode(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<unsigned char>(text[at++]);
  if (lead < 0x80) return lead;
  const int extra = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
  if (extra < 0 || at + std::size_t(extra) > text.size()) return -1;
  long code = lead & (0x3F >> extra);
  for (int i = 0; i < extra; ++i) {
    const auto next = static_cast<unsigned char>(text[at++]);
    if ((next & 0xC0) != 0x80) return -1;
    code = (code << 6) | (next & 0x3F);
  }
  static constexpr long kSmallest[] = {0, 0x80, 0x800, 0x10000};
  if (code < kSmallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return -1;
  return code;
}

bool isControl(long code) { return code < 0x20 || (code >= 0x7F && code < 0xA0); }

}  // namespace

bool isUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    if (decode(text, at) <= 0) return false;  // NUL or malformed
  }
  return true;
}

std::optional<Claim> checkReplay(std::string_view replay, std::string& reason) {
  if (!isUtf8(replay)) {
    reason = "not a replay: not text";
    return std::nullopt;
  }
  std::optional<Claim> claim;
  bool first = true;
  std::int64_t frames = 0, tooShort = 0, atDisplayPace = 0;
  for (std::size_t start = 0; start < replay.size();) {
    const std::size_t end = std::min(replay.find('\n', start), replay.size());
    std::string_view line = replay.substr(start, end - start);
    start = end + 1;
    line = line.substr(0, line.find('#'));
    const auto items = platform::splitWords(line);
    if (items.empty()) continue;
    if (first) {
      if (items[0] != "aloft-replay" || items.size() != 2) {
        reason = "not a replay";
        return std::nullopt;
      }
      if (items[1] != "1") {
        reason = "made for another version: replay format " + std::string(items[1]);
        return std::nullopt;
      }
      first = false;
    } else if (items[0] == "claim" && items.size() == 3) {
      const auto time = centiseconds(items[2]);
      if (claim || !time || (items[1] != "Hard" && items[1] != "Easy")) {
        reason = "the claim is not \"claim Hard|Easy MM:SS.CC\"";
        return std::nullopt;
      }
      claim = Claim{items[1] == "Hard" ? "hard" : "easy", *time};
    } else if (items.size() >= 3 && items[1] == "length") {
      float seconds = 0;
      std::int64_t count = 1;
      if (!platform::parseWhole(items[2], seconds) ||
          (items.size() == 4 && (!platform::parseWhole(items[3], count) || count < 1))) {
        reason = "a frame length is not a number";
        return std::nullopt;
      }
      frames += count;
      if (seconds < kShortestFrame) tooShort += count;
      if (seconds >= kFastestDisplay && seconds <= kSlowestDisplay) atDisplayPace += count;
    }
  }
  if (first) {
    reason = "not a replay";
  } else if (!claim) {
    reason = "not a best run: the replay claims no time";
  } else if (frames == 0) {
    reason = "the replay has no frames";
  } else if (tooShort > 0) {
    reason = "implausible frames: " + std::to_string(tooShort) + " shorter than 1 ms";
  } else if (double(atDisplayPace) < kDisplayShare * double(frames)) {
    reason = "implausible frames: only " + std::to_string(atDisplayPace) + " of " +
             std::to_string(frames) + " between 4 and 34 ms";
  } else {
    return claim;
  }
  return std::nullopt;
}

std::optional<std::string> normaliseName(std::string_view name, std::string& reason) {
  std::string kept;
  std::size_t characters = 0;
  bool space = false;
  for (std::size_t at = 0; at < name.size();) {
    const std::size_t from = at;
    const long code = decode(name, at);
    if (code < 0 || (isControl(code) && code != '\t')) {
      reason = code < 0 ? "the name is not UTF-8" : "the name holds a control character";
      return std::nullopt;
    }
    if (code == ' ' || code == '\t') {
      space = !kept.empty();
      continue;
    }
    if (space) {
      kept += ' ';
      ++characters;
      space = false;
    }
    kept.append(name.substr(from, at - from));
    if (++characters > kMaxNameCharacters) {
      reason = "the name is longer than 24 characters";
      return std::nullopt;
    }
  }
  if (kept.empty()) {
    reason = "the name is empty";
    return std::nullopt;
  }
  return kept;
}

std::string nameKey(std::string_view name) {
  std::string key(name);
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  return key;
}

}  // namespace board
