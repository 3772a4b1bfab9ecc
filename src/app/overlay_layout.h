// Where the view's overlays go, in window pixels (origin at the bottom left, y up), worked out
// from the window's size and the rendered sizes of their words. Every size follows the picture
// the game draws (the 3 : 2 area between the bars), so the overlays keep their places on it in
// any window and in full screen, and stay clear of what the charts draw.
#pragma once

#include "platform/window.h"

namespace overlay_layout {

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
  int right() const { return x + width; }
  int top() const { return y + height; }
};
struct Spot {
  int x = 0, y = 0;  // bottom-left corner of a label
};

// The smallest window in which the stats screen's words and every overlay stay readable.
inline constexpr platform::Size kMinimumWindow{480, 320};

// The largest 3 : 2 rectangle centred in `bounds`: where the charts draw.
Rect pictureArea(platform::Size bounds);

// Heights in pixels of the overlays' words in a window of `bounds`.
struct TextHeights {
  int pauseTitle, pauseHint, note, mark;
};
TextHeights textHeights(platform::Size bounds);

// A picture of `picture` pixels shown whole, as large as fits and centred in `bounds`.
struct Fit {
  Spot at;
  float zoom = 1;
};
Fit fitPicture(platform::Size picture, platform::Size bounds);

// The pause screen: a band across the middle of the window holding the title over two hint
// lines, each centred.
struct PauseBand {
  Rect band;
  Spot title, hint, secondHint;
};
PauseBand pauseBand(platform::Size bounds, platform::Size title, platform::Size hint,
                    platform::Size secondHint);

// A note on a backdrop in the top-left corner of the picture, below the frame-rate line: the
// volume; clear of the panels in the middle.
Spot volumeNote(platform::Size bounds, platform::Size note);
// The "REPLAY" mark in the top-right corner of the picture.
Spot replayMark(platform::Size bounds, platform::Size mark);
// The note that a replay has ended, centred at the top of the picture, above the panels.
Spot replayEndedNote(platform::Size bounds, platform::Size note);
// The first start's hint, centred under the panels at the bottom of the picture.
Spot firstStartHint(platform::Size bounds, platform::Size hint);

// The margin kept around a note's words by its backdrop.
int backdropMargin(platform::Size bounds);

}  // namespace overlay_layout
