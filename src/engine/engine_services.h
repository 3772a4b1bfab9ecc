// The engine services the game's charts take: the process-wide polygon, texture and audio
// services.
#pragma once

#include "engine/services.h"

engine::Services engineServices();
