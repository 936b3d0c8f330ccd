#pragma once
// A correspondence table of int to int that remembers how often it was set. Get of a missing key
// adds the key with 0, as the tables of the retrieval window always did.
#include <map>

namespace morvek {

class sootv {
 public:
  void Clear();
  void Set(int key, int value);
  int Get(int key);
  // -1 when nothing was ever set; else the first key in ascending order holding the value.
  int FindKeyByValue(int value) const;
  bool IsFilled() const { return filled_; }
  int Count() const { return count_; }
  std::map<int, int> Snapshot() const { return entries_; }

 private:
  int count_ = 0;
  bool filled_ = false;
  std::map<int, int> entries_;
};

}  // namespace morvek
