#include "engine/engine_services.h"

#include "engine/kiv_audio.h"
#include "engine/kiv_polygons.h"
#include "engine/kiv_textures.h"

engine::Services engineServices() {
  return {&engine::KivAudio::share(), &engine::KivPolygons::share(), &engine::KivTextures::share()};
}
