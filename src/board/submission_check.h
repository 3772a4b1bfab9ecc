// What the board checks in a submission before it queues it: the replay's header, its claim
// and its frame lengths, and the player's name. The game's verifier checks everything else.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace board {

// The largest replay the board takes: about ten minutes of play at 240 frames a second.
inline constexpr std::size_t kMaxReplayBytes = std::size_t(2) << 20;

struct Claim {
  std::string mode;  // "hard" or "easy"
  int centiseconds = 0;
};

// The claim of a best-run replay that passes the board's rules, or null with `reason` set:
//  - text: valid UTF-8 without NUL bytes, starting "aloft-replay 1" (another version is
//    "made for another version");
//  - one "claim Hard|Easy MM:SS.CC" line;
//  - frame lengths a real display gives: none under 1 ms, and at least 95% of the frames
//    between 4 ms (240 Hz) and 34 ms (30 Hz). Longer frames, a stalled machine's, are the rest.
std::optional<Claim> checkReplay(std::string_view replay, std::string& reason);

// The name as kept: spaces trimmed and runs of white space made one space. Null with `reason`
// set unless it is valid UTF-8 of 1 to 24 characters, none a control character.
std::optional<std::string> normaliseName(std::string_view name, std::string& reason);

// The name as compared for ownership: ASCII letters in lower case.
std::string nameKey(std::string_view name);

bool isUtf8(std::string_view text);

}  // namespace board
