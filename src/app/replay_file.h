// A replay: what the charts were given in every frame of a session (the current input event, the
// pointer position used for picking, the frame length), with a header saying what it was recorded
// with. Read and written as text, one item a line, `#` starting a comment:
//
//   aloft-replay 1                    the format and its version
//   game 0.1.0                        the game that recorded it
//   window 960x640                    the window's size in points
//   resources 3f2a...                 digest of the resource files (see resource_digest.h)
//   prefs {"Hard":[0,0,0,5,7,5]}      the preferences the charts read at the start
//   start Hard                        a best run only: the mode chosen
//   state Camera zoom -35.5           a best run only: a number cell the run starts from
//   claim hard 00:05.75               a best run only: the time it stores
//   FRAME length SECONDS [COUNT]      the length of COUNT (1) frames from FRAME on
//   FRAME size WIDTH HEIGHT           the drawing area in pixels from FRAME on
//   FRAME pointer X Y                 the pointer in drawing-area pixels, origin bottom left
//   FRAME key-down KEY | key-up KEY | mouse-down left|right | mouse-up left|right
//   end FRAMES                        the last line: how many frames were recorded
//
// Events name the event that becomes current in FRAME, in the words of the input scripts; a key
// is named by the character the charts see (U+XXXX for one without a name). Numbers are written
// in their shortest form that reads back to the same bits.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "platform/events.h"
#include "platform/window.h"

inline constexpr int kReplayFormatVersion = 1;
// A frame is at most a second long: the real clock plays a longer stall as one second, so every
// recording holds only frames a replay may hold, and a replay watched at its pace never sleeps
// longer than that.
inline constexpr float kMaxFrameSeconds = 1.0f;

// Everything one frame hands the charts.
struct FrameInput {
  float length = 0;              // seconds, exactly as given to the charts
  platform::InputEvent event;    // the current event
  platform::Point pointer;       // drawable pixels, origin bottom left
  platform::Size drawable;       // the drawing area the pointer is measured in
};

// A number cell of a chart that outlives a run, as it stood when the run's mode was chosen.
struct CellState {
  std::string chart;
  std::string cell;
  float value = 0;
};

struct Replay {
  std::string gameVersion;
  platform::Size window;
  std::string resourceDigest;
  std::string preferences = "{}";  // a JSON object
  // Best runs only.
  std::string startMode;             // "Hard" or "Easy": the mode chosen before frame 1
  std::vector<CellState> startState;
  std::string claimKey;              // the preference key the time is stored under
  std::string claimTime;             // "MM:SS.CC"
  std::vector<FrameInput> frames;    // frame 1 first

  // Lines of the header items, for messages about them; 0 when not read from a file.
  int formatLine = 0;
  int resourcesLine = 0;
  int preferencesLine = 0;

  bool isBestRun() const { return !claimTime.empty(); }
};

// The most frames a best run claiming `claimTime` ("MM:SS.CC") may hold: a thousand a second
// (ten times the frame timer's rate) over the claimed time and a wait of ten minutes on the game
// screen before the first key. -1 when `claimTime` is not such a time. A best run with more is
// refused as it is read, before its frames take memory.
std::int64_t bestRunFrameLimit(const std::string& claimTime);

// Reads a whole replay. A file that is not a replay, is damaged, or has another format version
// gives null and `error` = "NAME:LINE: what is wrong".
std::optional<Replay> parseReplay(std::istream& in, const std::string& name, std::string& error);
std::optional<Replay> loadReplay(const std::string& path, std::string& error);

std::string formatReplay(const Replay& replay);

// The name of the key whose character the charts see, and back.
std::string keyName(char16_t character);
std::optional<char16_t> keyCharacter(std::string_view name);
