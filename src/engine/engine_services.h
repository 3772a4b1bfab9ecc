// The engine services the game's charts take: the process-wide polygon, texture and audio
// services.
#pragma once

#include "chart/services.h"

chart::Services engineServices();
