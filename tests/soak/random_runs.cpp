#include "random_runs.h"

#include <array>
#include <cstdlib>

namespace {

// A flyer mode: turning step in degrees a frame, speed in units a second.
struct Mode {
  int turnStep;
  int speed;
};
constexpr Mode kEasy{2, 8};
constexpr Mode kHard{5, 18};

constexpr double kFrameLength = 0.01;
constexpr double kCeiling = 30;
constexpr double kLandingHeight = 3;
constexpr double kStartHeight = 1.5;

// The longest stretch of random turning, in frames.
constexpr int kRandomFrames = 150;

// Keys that start a run and do nothing else: no camera, function or Escape key.
constexpr std::array<const char*, 8> kStartKeys = {"Space", "Return", "Up", "Down",
                                                   "b",     "k",      "m",  "7"};

// Frames a straight flight takes to cover `distance` at `mode`'s speed.
int framesFor(double distance, const Mode& mode) {
  return int(distance / (mode.speed * kFrameLength)) + 1;
}

}  // namespace

RandomRuns::RandomRuns(std::uint32_t seed, platform::Size windowSize)
    : random(seed), window(windowSize) {}

int RandomRuns::between(int low, int high) {
  // By hand rather than with a distribution, whose results differ between standard libraries.
  return low + int(random() % std::uint32_t(high - low + 1));
}

std::int64_t RandomRuns::appendRun(std::int64_t frame, std::string& script) {
  const auto line = [&](std::int64_t at, const std::string& event) {
    script += std::to_string(at) + " " + event + "\n";
  };
  const auto hold = [&](const std::string& key, std::int64_t down, std::int64_t up) {
    line(down, "key-down " + key);
    line(up, "key-up " + key);
  };
  // The buttons' middles on a 3 : 2 window: HARD at 52 / 320 of the height, EASY at 196 / 320.
  const bool hard = between(0, 1) == 1;
  const Mode mode = hard ? kHard : kEasy;
  const int buttonY = window.height * (hard ? 52 : 196) / 320;
  line(frame, "mouse-move " + std::to_string(window.width / 2) + " " + std::to_string(buttonY));
  line(frame, "mouse-down left");
  line(frame + 1, "mouse-up left");

  // The game chart is made in the frame after the click; the key comes some frames later.
  frame += between(5, 60);
  const std::string key = kStartKeys[std::size_t(between(0, int(kStartKeys.size()) - 1))];
  const int keyFrames = between(1, 20);
  hold(key, frame, frame + keyFrames);
  frame += keyFrames;

  // Random turns. The heading (degrees, positive towards the left wall) changes by the step in
  // every frame from a turn key's down to its up.
  int heading = 0;
  const std::int64_t randomStart = frame;
  const std::int64_t randomEnd = frame + between(0, kRandomFrames);
  while (true) {
    const std::int64_t down = frame + between(1, 20);
    const int held = between(1, 30);
    if (down + held > randomEnd) break;
    const bool right = between(0, 1) == 1;
    hold(right ? "Right" : "Left", down, down + held);
    heading += (right ? -1 : 1) * mode.turnStep * held;
    frame = down + held;
  }
  frame = randomEnd + 1;

  // Nose up, the shorter way round.
  int toUp = ((heading % 360) + 360) % 360;  // degrees to turn right
  const bool upByRight = toUp <= 180;
  if (!upByRight) toUp = 360 - toUp;
  const int upTurnFrames = toUp / mode.turnStep;
  if (upTurnFrames > 0) hold(upByRight ? "Right" : "Left", frame, frame + upTurnFrames);
  frame += upTurnFrames;

  // Climb to the ceiling from as low as the random turns and the turn up can have taken it,
  // and then some random frames more, so runs differ in length.
  const int worstDescent = int(randomEnd - randomStart) + upTurnFrames;  // frames flown down
  frame += framesFor(kCeiling - kStartHeight, mode) + worstDescent + between(0, 200);

  // Half a turn to the right, nose down, then down to the landing height and a margin.
  hold("Right", frame, frame + 180 / mode.turnStep);
  frame += 180 / mode.turnStep;
  frame += framesFor(kCeiling - kLandingHeight, mode) + 50;

  // The run is over; the stats screen is made on a later frame.
  return frame + between(20, 60);
}
