// What a platform must provide to the game: a window with an OpenGL context, input events, clocks,
// text rendering for the overlay, a modal message box and a beep, a sound output and the decoding
// of sound files. This directory is the only code that includes SDL and FFmpeg; everything above
// it sees these headers.
#pragma once

#include "platform/audio_output.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "platform/image_file.h"
#include "platform/message_box.h"
#include "platform/overlay_font.h"
#include "platform/paths.h"
#include "platform/sound_file.h"
#include "platform/window.h"
