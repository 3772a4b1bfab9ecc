// The dictionary of global variables through which charts that are not parent and child talk.
// An entry is keyed by the name of the sending cell and holds the value (absent for an undefined
// number) and an optional key text. Texts and lists are the sender's own objects, shared, so a
// later change by the sender is seen by later receivers.
//
// Names are interned once, when the chart definitions are compiled, so sending and receiving
// find their entry by index: no hashing or string comparison per node.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "chart/cell.h"

namespace chart {

struct GlobalEntry {
  bool present = false;
  bool hasValue = false;
  std::int32_t valueType = kEmpty;  // the sender's type when sent: number, text or a list kind
  float number = 0.0f;
  Text* text = nullptr;  // one reference, shared with the sender
  List* list = nullptr;  // one reference, shared with the sender
  Text* key = nullptr;   // one reference, shared with the sender's key cell
};

class GlobalVariableDictionary {
 public:
  using Key = std::uint32_t;

  // The key of `name`, the same for every call with that name.
  Key keyFor(std::string_view name);

  // The entry, or null when none is stored under the key or name.
  const GlobalEntry* find(Key key) const {
    return key < entries.size() && entries[key].present ? &entries[key] : nullptr;
  }
  const GlobalEntry* find(std::string_view name) const;

  // Stores `entry` (whose references it takes over) in place of any entry of that key.
  void store(Key key, const GlobalEntry& entry);
  void remove(Key key);
  void removeAll();
  std::size_t size() const;

  // The dictionary lives as long as the process and lets nothing go when it ends: charts held
  // by globals are not torn down at exit.

 private:
  std::vector<std::string> names;  // by key
  std::vector<GlobalEntry> entries;
};

}  // namespace chart
