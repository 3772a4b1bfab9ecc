#include "engine/kiv_textures.h"

#include "engine/drawing.h"
#include "engine/engine_message.h"
#include "engine/kiv_alert.h"
#include "platform/image_file.h"

namespace engine {

KivTextures& KivTextures::share() {
  static KivTextures instance;
  return instance;
}

std::string KivTextures::messageOpening() const {
  return engine::chartMessageOpening(theActiveChart);
}

std::int32_t KivTextures::addTexture(const std::string& path, unsigned wrapS, unsigned wrapT,
                                     unsigned magFilter, unsigned minFilter) {
  for (TextureEntry& entry : theTextureArray) {
    if (entry.name == path && entry.quantity > 0) {
      ++entry.quantity;
      return entry.index;
    }
  }
  const std::uint32_t name = engine::newTextureName();
  const std::size_t bytes = loadInTexture(path, wrapS, wrapT, magFilter, minFilter, name);
  theTextureArray.push_back({path, 1, std::int32_t(name), bytes});
  theDecodedBytes += bytes;
  return std::int32_t(name);
}

std::size_t KivTextures::loadInTexture(const std::string& path, unsigned wrapS, unsigned wrapT,
                                       unsigned magFilter, unsigned minFilter, std::uint32_t bind) {
  engine::Drawing& drawing = engine::drawing();
  platform::DecodedImage image;
  const platform::ImageReadResult result = platform::readImageFile(
      path, drawing.maxTextureSide(), image, kDecodedBudget - theDecodedBytes);
  if (result == platform::ImageReadResult::NotDecoded) {
    KivAlert::share().setQuitAlert(messageOpening() + " with image in directory " + path +
                                   " was not found.");
  }

  if (result == platform::ImageReadResult::UnsupportedPixelLayout) {
    KivAlert::share().setQuitAlert(messageOpening() + " with image in directory " + path +
                                   " has an invalid bit per pixel.");
  }
  if (result == platform::ImageReadResult::OverMemoryLimit) {
    KivAlert::share().setQuitAlert(
        messageOpening() + " with image in directory " + path + " is too large: " +
        std::to_string(image.width) + " x " + std::to_string(image.height) + " pixels take " +
        engine::overBudgetReason(image.byteSize(), "pictures", kDecodedBudget, theDecodedBytes));
  }
  drawing.loadTexture(bind, image, {wrapS, wrapT, magFilter, minFilter});
  // By its size, not its pixels: a reader that gives only the size counts the same.
  return image.byteSize();
}

void KivTextures::bindTexture(std::int32_t index) {
  engine::drawing().bindTexture(std::uint32_t(index));
}

void KivTextures::deleteTexture(std::int32_t index) {
  for (auto entry = theTextureArray.begin(); entry != theTextureArray.end(); ++entry) {
    if (entry->index != index) continue;
    if (--entry->quantity < 1) {
      theDecodedBytes -= entry->bytes;
      theTextureArray.erase(entry);
      engine::drawing().deleteTexture(std::uint32_t(index));
      return;
    }
  }
}

std::int32_t KivTextures::quantityOf(std::string_view path) const {
  for (const TextureEntry& entry : theTextureArray) {
    if (entry.name == path && entry.quantity > 0) return entry.quantity;
  }
  return 0;
}

}  // namespace engine
