#include "chart/global_variables.h"

namespace chart {

namespace {

// Lets go of an entry's references. Releasing a list may tear down charts, so the entry is
// already marked absent when this runs.
void releaseEntry(const GlobalEntry& entry) {
  Text::release(entry.text);
  Text::release(entry.key);
  List::release(entry.list);
}

}  // namespace

GlobalVariableDictionary::Key GlobalVariableDictionary::keyFor(std::string_view name) {
  for (Key key = 0; key < names.size(); ++key) {
    if (names[key] == name) return key;
  }
  names.emplace_back(name);
  entries.emplace_back();
  return Key(names.size() - 1);
}

const GlobalEntry* GlobalVariableDictionary::find(std::string_view name) const {
  for (Key key = 0; key < names.size(); ++key) {
    if (names[key] == name) return find(key);
  }
  return nullptr;
}

void GlobalVariableDictionary::store(Key key, const GlobalEntry& entry) {
  const GlobalEntry replaced = entries[key];
  entries[key] = entry;
  entries[key].present = true;
  if (replaced.present) releaseEntry(replaced);
}

void GlobalVariableDictionary::remove(Key key) {
  if (!entries[key].present) return;
  const GlobalEntry removed = entries[key];
  entries[key] = GlobalEntry{};
  releaseEntry(removed);
}

void GlobalVariableDictionary::removeAll() {
  for (Key key = 0; key < entries.size(); ++key) remove(key);
}

std::size_t GlobalVariableDictionary::size() const {
  std::size_t count = 0;
  for (const GlobalEntry& entry : entries) count += entry.present;
  return count;
}

}  // namespace chart
