#include "app/overlay_layout.h"

#include <algorithm>
#include <cmath>

namespace overlay_layout {

namespace {

// Words smaller than this are hard to read whatever the window.
constexpr int kSmallestText = 12;

int fraction(const Rect& picture, double part) {
  return std::max(kSmallestText, int(std::lround(picture.height * part)));
}

int centred(int from, int space, int width) { return from + (space - width) / 2; }

}  // namespace

Rect pictureArea(platform::Size bounds) {
  Rect area{0, 0, bounds.width, bounds.height};
  if (bounds.width * 2 > bounds.height * 3) {
    area.width = bounds.height * 3 / 2;
  } else {
    area.height = bounds.width * 2 / 3;
  }
  area.x = (bounds.width - area.width) / 2;
  area.y = (bounds.height - area.height) / 2;
  return area;
}

TextHeights textHeights(platform::Size bounds) {
  const Rect picture = pictureArea(bounds);
  return {fraction(picture, 0.1), fraction(picture, 0.035), fraction(picture, 0.038),
          fraction(picture, 0.032)};
}

Fit fitPicture(platform::Size picture, platform::Size bounds) {
  if (picture.width <= 0 || picture.height <= 0) return {};
  const float zoom = std::min(float(bounds.width) / float(picture.width),
                              float(bounds.height) / float(picture.height));
  return {{int(std::lround((bounds.width - picture.width * zoom) / 2)),
           int(std::lround((bounds.height - picture.height * zoom) / 2))},
          zoom};
}

PauseBand pauseBand(platform::Size bounds, platform::Size title, platform::Size hint,
                    platform::Size secondHint) {
  const int gap = std::max(4, hint.height / 3);
  const int height = gap * 4 + title.height + hint.height + secondHint.height;
  PauseBand layout;
  layout.band = {0, (bounds.height - height) / 2, bounds.width, height};
  layout.secondHint = {centred(0, bounds.width, secondHint.width), layout.band.y + gap};
  layout.hint = {centred(0, bounds.width, hint.width), layout.secondHint.y + secondHint.height};
  layout.title = {centred(0, bounds.width, title.width), layout.hint.y + hint.height + gap};
  return layout;
}

int backdropMargin(platform::Size bounds) { return std::max(4, textHeights(bounds).note / 3); }

Spot volumeNote(platform::Size bounds, platform::Size note) {
  const Rect picture = pictureArea(bounds);
  const int margin = backdropMargin(bounds);
  // Below the frame-rate reading, which takes the window's top 25 pixels.
  const int top = std::min(picture.top(), bounds.height - 25) - margin * 2;
  return {picture.x + margin * 2, top - note.height};
}

Spot replayMark(platform::Size bounds, platform::Size mark) {
  const Rect picture = pictureArea(bounds);
  const int margin = backdropMargin(bounds);
  return {picture.right() - margin * 2 - mark.width, picture.top() - margin * 2 - mark.height};
}

Spot replayEndedNote(platform::Size bounds, platform::Size note) {
  const Rect picture = pictureArea(bounds);
  const int margin = backdropMargin(bounds);
  return {centred(picture.x, picture.width, note.width), picture.top() - margin * 2 - note.height};
}

Spot firstStartHint(platform::Size bounds, platform::Size hint) {
  const Rect picture = pictureArea(bounds);
  return {centred(picture.x, picture.width, hint.width),
          picture.y + int(std::lround(picture.height * 0.035))};
}

}  // namespace overlay_layout
