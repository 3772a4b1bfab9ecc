// A cell's list: a mutable array of numbers, texts or chart objects, shared by reference count
// like a text. A list owns a reference to every chart in it; when the list goes, so may they.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace chart {

class Chart;

// One element: a number (number list), a string (text list) or a chart (object list).
using ListElement = std::variant<float, std::u16string, Chart*>;

class List {
 public:
  // A new empty list with one reference owned by the caller.
  static List* create() { return new List(); }

  void retain() { ++references; }
  // Drops one reference. The last one releases every chart of the list, which tears down the
  // charts no one else holds, and then frees the list. Accepts null.
  static void release(List* list);

  // Appends a copy of `element`, taking a reference to a chart.
  void append(const ListElement& element);
  std::size_t size() const { return elements_.size(); }
  const ListElement& operator[](std::size_t at) const { return elements_[at]; }

  // Element-wise equality: equal numbers, equal strings, the same chart objects.
  friend bool operator==(const List& left, const List& right) {
    return left.elements_ == right.elements_;
  }

 private:
  List() = default;

  std::vector<ListElement> elements_;
  std::int32_t references = 1;
};

}  // namespace chart
