#pragma once

#include "../font_face.h"
#include "../image.h"

namespace resgen {

// The game's pictures. Each maker is deterministic: the same build gives the same pixels.

// First splash: the title "ALOFT" with a flyer mark, 2048 x 512 RGBA, colour premultiplied.
Image makeTitleLogo(FontFace& font);
// Second splash: "MADE WITH CHARTS" with a flowchart emblem, 1024 x 512 RGBA, premultiplied.
Image makeMakersMark(FontFace& font);
// Seamlessly tiling lawn, 256 x 256 RGB.
Image makeGrass();
// Day sky for the back wall, horizon at the bottom edge, 1024 x 512 RGB.
Image makeSky();
// White glyphs of codes 33 to 96 on an 8 x 8 grid, 512 x 512 RGBA, straight alpha.
Image makeFontSheet(FontFace& font);
// Soft elliptical shadow, black with alpha, 128 x 64 RGBA.
Image makeShadow();

}  // namespace resgen
