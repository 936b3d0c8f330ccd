#pragma once
// Reading a record of the model without changing it: a key the records lack reads as an empty
// record, as the layouts have always shown it, and nothing is inserted.
#include "journal/keyed_records.h"

namespace morvek {

template <typename Value>
const Value& Entry(const KeyedRecords<Value>& records, int key) {
  static const Value empty{};
  const auto it = records.find(key);
  return it == records.end() ? empty : it->second;
}

}  // namespace morvek
