#pragma once
// Reading a record of the model without changing it: a key the map lacks reads as an empty record,
// as the layouts have always shown it, and nothing is inserted.
#include <map>

namespace morvek {

template <typename Key, typename Value>
const Value& Entry(const std::map<Key, Value>& records, const Key& key) {
  static const Value empty{};
  const auto it = records.find(key);
  return it == records.end() ? empty : it->second;
}

}  // namespace morvek
