#pragma once
// The records of one kind in a document, by their key, in key order. The loader hands out keys
// counting up from 0, so records are kept side by side in one block, sorted by key, rather than a
// tree node each: a lookup of a key past the last one appends, any other is a binary search. As
// with a map, looking a key up for writing creates a default record; unlike a map, adding a
// record may move the others, so a reference is good only until the next record is added.
//
// A receipt has a dozen kinds of lines, most of them absent, so the records take one pointer when
// there are none: the block holds its own size and room in front of the records.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

namespace morvek {

template <class T>
class KeyedRecords {
 public:
  using value_type = std::pair<int, T>;
  using iterator = value_type*;
  using const_iterator = const value_type*;

  KeyedRecords() = default;
  KeyedRecords(const KeyedRecords& other) {
    if (other.empty()) return;
    KeyedRecords copy;  // released by its own end if a record fails to copy
    copy.Allocate(other.size());
    std::uninitialized_copy(other.begin(), other.end(), copy.Records());
    copy.block_->size = other.block_->size;
    std::swap(block_, copy.block_);
  }
  KeyedRecords(KeyedRecords&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
  KeyedRecords& operator=(KeyedRecords other) noexcept {
    std::swap(block_, other.block_);
    return *this;
  }
  ~KeyedRecords() { Release(); }

  T& operator[](int key) {
    if (empty() || Last().first < key) return Insert(end(), key)->second;
    if (Last().first == key) return Last().second;  // the record being filled
    iterator at = LowerBound(key);
    if (at->first == key) return at->second;
    return Insert(at, key)->second;
  }

  iterator find(int key) {
    iterator at = LowerBound(key);
    return at != end() && at->first == key ? at : end();
  }
  const_iterator find(int key) const { return const_cast<KeyedRecords*>(this)->find(key); }
  std::size_t count(int key) const { return find(key) == end() ? 0 : 1; }

  T& at(int key) { return const_cast<T&>(std::as_const(*this).at(key)); }
  const T& at(int key) const {
    const const_iterator it = find(key);
    if (it == end()) throw std::out_of_range("no record under this key");
    return it->second;
  }

  iterator begin() { return block_ ? Records() : nullptr; }
  iterator end() { return begin() + size(); }
  const_iterator begin() const { return const_cast<KeyedRecords*>(this)->begin(); }
  const_iterator end() const { return const_cast<KeyedRecords*>(this)->end(); }
  std::size_t size() const { return block_ ? block_->size : 0; }
  bool empty() const { return size() == 0; }
  void clear() { Release(); }
  // Gives back the room kept for records not added, once a document is whole.
  void shrink_to_fit() {
    if (empty())
      Release();
    else if (Room() > size())
      Reallocate(size());
  }

  // Takes records already in key order, each key once.
  static KeyedRecords FromSorted(std::vector<value_type> records) {
    KeyedRecords r;
    if (records.empty()) return r;
    r.Allocate(records.size());
    std::uninitialized_move(records.begin(), records.end(), r.Records());
    r.block_->size = static_cast<std::uint32_t>(records.size());
    return r;
  }

  bool operator==(const KeyedRecords& other) const {
    return std::equal(begin(), end(), other.begin(), other.end());
  }

 private:
  struct alignas(value_type) Header {
    std::uint32_t size = 0, room = 0;
  };

  value_type* Records() const { return reinterpret_cast<value_type*>(block_ + 1); }
  value_type& Last() { return Records()[block_->size - 1]; }
  std::size_t Room() const { return block_ ? block_->room : 0; }

  iterator LowerBound(int key) {
    return std::lower_bound(begin(), end(), key,
                            [](const value_type& r, int k) { return r.first < k; });
  }

  // A new record under key at position at, the records from there on moved up by one.
  iterator Insert(iterator at, int key) {
    const std::size_t index = static_cast<std::size_t>(at - begin());
    if (size() == Room()) Reallocate(std::max<std::size_t>(1, Room() * 2));
    ::new (static_cast<void*>(end())) value_type(key, T{});
    ++block_->size;
    std::rotate(begin() + index, end() - 1, end());
    return begin() + index;
  }

  // An empty block with room for n records in place of none.
  void Allocate(std::size_t n) {
    block_ = static_cast<Header*>(::operator new(sizeof(Header) + n * sizeof(value_type)));
    ::new (static_cast<void*>(block_)) Header{0, static_cast<std::uint32_t>(n)};
  }

  void Reallocate(std::size_t n) {
    KeyedRecords moved;
    moved.Allocate(n);
    std::uninitialized_move(begin(), end(), moved.Records());
    moved.block_->size = static_cast<std::uint32_t>(size());
    std::swap(block_, moved.block_);
  }

  void Release() {
    if (!block_) return;
    std::destroy(begin(), end());
    ::operator delete(block_);
    block_ = nullptr;
  }

  Header* block_ = nullptr;
};

}  // namespace morvek
