#pragma once
// The records of one kind in a document, by their key, in key order. The loader hands out keys
// counting up from 0, so records are kept side by side in one vector, sorted by key, rather than a
// tree node each: a lookup of a key past the last one appends, any other is a binary search. As
// with a map, looking a key up for writing creates a default record; unlike a map, adding a
// record may move the others, so a reference is good only until the next record is added.
#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <utility>
#include <vector>

namespace morvek {

template <class T>
class KeyedRecords {
 public:
  using value_type = std::pair<int, T>;
  using iterator = typename std::vector<value_type>::iterator;
  using const_iterator = typename std::vector<value_type>::const_iterator;

  T& operator[](int key) {
    if (records_.empty() || records_.back().first < key)
      return records_.emplace_back(key, T{}).second;
    if (records_.back().first == key) return records_.back().second;  // the record being filled
    const iterator at = LowerBound(key);
    if (at != records_.end() && at->first == key) return at->second;
    return records_.emplace(at, key, T{})->second;
  }

  iterator find(int key) {
    const iterator at = LowerBound(key);
    return at != records_.end() && at->first == key ? at : records_.end();
  }
  const_iterator find(int key) const { return const_cast<KeyedRecords*>(this)->find(key); }
  std::size_t count(int key) const { return find(key) == end() ? 0 : 1; }

  T& at(int key) { return const_cast<T&>(std::as_const(*this).at(key)); }
  const T& at(int key) const {
    const const_iterator it = find(key);
    if (it == end()) throw std::out_of_range("no record under this key");
    return it->second;
  }

  iterator erase(const_iterator it) { return records_.erase(it); }

  iterator begin() { return records_.begin(); }
  iterator end() { return records_.end(); }
  const_iterator begin() const { return records_.begin(); }
  const_iterator end() const { return records_.end(); }
  std::size_t size() const { return records_.size(); }
  bool empty() const { return records_.empty(); }
  void clear() { records_.clear(); }
  void reserve(std::size_t n) { records_.reserve(n); }
  // Gives back the room kept for records not added, once a document is whole.
  void shrink_to_fit() { records_.shrink_to_fit(); }

  // Takes records already in key order, each key once.
  static KeyedRecords FromSorted(std::vector<value_type> records) {
    KeyedRecords r;
    r.records_ = std::move(records);
    return r;
  }

  bool operator==(const KeyedRecords&) const = default;

 private:
  iterator LowerBound(int key) {
    return std::lower_bound(records_.begin(), records_.end(), key,
                            [](const value_type& r, int k) { return r.first < k; });
  }

  std::vector<value_type> records_;
};

}  // namespace morvek
