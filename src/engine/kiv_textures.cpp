#include "engine/kiv_textures.h"

#include <GL/gl.h>

#include "engine/engine_message.h"
#include "engine/kiv_alert.h"
#include "platform/image_file.h"

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
  // Picture rows are packed, whatever their width.
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  const std::uint32_t name = newTextureName();
  loadInTexture(path, wrapS, wrapT, magFilter, minFilter, name);
  theTextureArray.push_back({path, 1, std::int32_t(name)});
  return std::int32_t(name);
}

std::uint32_t KivTextures::newTextureName() {
  GLuint name = 0;
  glGenTextures(1, &name);
  return name;
}

void KivTextures::loadInTexture(const std::string& path, unsigned wrapS, unsigned wrapT,
                                unsigned magFilter, unsigned minFilter, std::uint32_t bind) {
  GLint maxSide = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
  platform::DecodedImage image;
  const platform::ImageReadResult result = platform::readImageFile(path, maxSide, image);
  if (result == platform::ImageReadResult::NotDecoded) {
    KivAlert::share().setQuitAlert(messageOpening() + " with image in directory " + path +
                                   " was not found.");
  }

  glBindTexture(GL_TEXTURE_2D, bind);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GLint(wrapS));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GLint(wrapT));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GLint(magFilter));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLint(minFilter));
  if (minFilter != GL_LINEAR && minFilter != GL_NEAREST) {
    // Set before the upload so the levels below are built from it.
    glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
  }

  if (result == platform::ImageReadResult::UnsupportedPixelLayout) {
    KivAlert::share().setQuitAlert(messageOpening() + " with image in directory " + path +
                                   " has an invalid bit per pixel.");
  }
  const GLenum format = image.bitsPerPixel() == 24 ? GL_RGB : GL_RGBA;
  glTexImage2D(GL_TEXTURE_2D, 0, image.samplesPerPixel, image.width, image.height, 0, format,
               GL_UNSIGNED_BYTE, image.pixels.data());
}

void KivTextures::bindTexture(std::int32_t index) { glBindTexture(GL_TEXTURE_2D, GLuint(index)); }

void KivTextures::deleteTexture(std::int32_t index) {
  for (auto entry = theTextureArray.begin(); entry != theTextureArray.end(); ++entry) {
    if (entry->index != index) continue;
    if (--entry->quantity < 1) {
      theTextureArray.erase(entry);
      const auto name = GLuint(index);
      glDeleteTextures(1, &name);
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
