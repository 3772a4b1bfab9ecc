// What the engine holds right now: polygons, picking entries, textures and sounds.
#pragma once

#include <cstddef>

#include "engine/kiv_audio.h"
#include "engine/kiv_polygons.h"
#include "engine/kiv_textures.h"

struct EngineCounts {
  std::size_t polygons = 0;
  std::size_t picking = 0;
  std::size_t textures = 0;
  std::size_t sounds = 0;
  bool operator==(const EngineCounts&) const = default;
};

inline EngineCounts engineCounts() {
  return {engine::KivPolygons::share().polygonCount(), engine::KivPolygons::share().pickingCount(),
          engine::KivTextures::share().textureCount(), engine::KivAudio::share().soundCount()};
}
