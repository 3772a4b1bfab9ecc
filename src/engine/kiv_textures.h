// The picture service: image files loaded into textures of the drawing back end, one texture per
// path string shared by all its users and counted, bound for drawing, deleted when the last user
// lets it go. Texture names come from `engine::newTextureName`: the same whatever draws them. Every error is fatal and goes through `KivAlert` naming the chart that
// last called `setActiveChart`.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/services.h"

namespace engine {

class KivTextures final : public engine::TextureService {
 public:
  static KivTextures& share();

  // A separate, empty service; the game uses `share` only.
  KivTextures() = default;
  KivTextures(const KivTextures&) = delete;
  KivTextures& operator=(const KivTextures&) = delete;

  void setActiveChart(std::string_view chartName) override { theActiveChart.assign(chartName); }

  // The texture of the file at `path` (used as given), loaded with these GL wrap modes and
  // filters on its first add; later adds of the same path string share it, whatever their
  // modes. Returns the texture index, the texture's name.
  std::int32_t addTexture(const std::string& path, unsigned wrapS, unsigned wrapT,
                          unsigned magFilter, unsigned minFilter) override;
  // The most the pictures loaded may take decoded, all together: today's take about 9 MB. A
  // picture that would pass it is refused before it is decoded.
  static constexpr std::size_t kDecodedBudget = std::size_t(256) * 1024 * 1024;

  // Decodes the file at `path` into texture name `bind`: 24-bit pictures as RGB, 32-bit ones
  // as RGBA, top row first; mipmaps are generated when `minFilter` is a mipmap filter. Returns
  // the decoded picture's size in bytes.
  std::size_t loadInTexture(const std::string& path, unsigned wrapS, unsigned wrapT,
                            unsigned magFilter, unsigned minFilter, std::uint32_t bind);
  void bindTexture(std::int32_t index) override;
  // Releases one use; the last release deletes the texture. Unknown indexes are ignored.
  void deleteTexture(std::int32_t index) override;

  // How many adds of `path` are not yet matched by a delete (0 when it is not loaded).
  std::int32_t quantityOf(std::string_view path) const;
  // How many textures are loaded.
  std::size_t textureCount() const { return theTextureArray.size(); }
  // What the loaded pictures took decoded, together.
  std::size_t decodedBytes() const { return theDecodedBytes; }

 private:
  struct TextureEntry {
    std::string name;
    std::int32_t quantity = 0;
    std::int32_t index = 0;
    std::size_t bytes = 0;  // decoded
  };

  std::string messageOpening() const;

  std::vector<TextureEntry> theTextureArray;
  std::string theActiveChart;
  std::size_t theDecodedBytes = 0;
};

}  // namespace engine
