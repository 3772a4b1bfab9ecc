// A cell's text: a mutable UTF-16 string shared by reference count. Sharing is what lets a global
// variable hold the very text object its sender keeps changing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace chart {

class Text {
 public:
  // A new text holding `units`, with one reference owned by the caller.
  static Text* create(std::u16string_view units = {}) { return new Text(units); }

  void retain() { ++references; }
  // Drops one reference and frees the text with the last one. Accepts null.
  static void release(Text* text) {
    if (text != nullptr && --text->references == 0) delete text;
  }

  // Whether anything besides its one owner holds the text.
  bool shared() const { return references > 1; }

  std::u16string units;

 private:
  explicit Text(std::u16string_view initial) : units(initial) {}

  std::int32_t references = 1;
};

}  // namespace chart
