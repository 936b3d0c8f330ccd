#pragma once
// The lines of a list box in one arena: every line's bytes lie in chunks that are never moved or
// copied once made (a line never straddles two; one longer than a chunk gets a chunk of its own),
// beside an index of 4 bytes a line, itself kept in fixed blocks. Millions of receipt lines thus
// cost little more than their text, and growing the list never copies it whole. Reading gives
// string_views, valid until the line is erased or the list is cleared.
#include <compare>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace morvek {

class LineList {
 public:
  class const_iterator {
   public:
    // it->size(): the line a view of which the iterator makes on the spot.
    struct Arrow {
      std::string_view line;
      const std::string_view* operator->() const { return &line; }
    };
    using iterator_category = std::random_access_iterator_tag;
    using iterator_concept = std::random_access_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using reference = std::string_view;
    using pointer = Arrow;

    const_iterator() = default;
    const_iterator(const LineList* list, std::size_t index) : list_(list), index_(index) {}

    std::string_view operator*() const { return (*list_)[index_]; }
    Arrow operator->() const { return {**this}; }
    std::string_view operator[](difference_type n) const { return *(*this + n); }
    const_iterator& operator++() { return ++index_, *this; }
    const_iterator& operator--() { return --index_, *this; }
    const_iterator operator++(int) { return {list_, index_++}; }
    const_iterator operator--(int) { return {list_, index_--}; }
    const_iterator& operator+=(difference_type n) { return index_ += n, *this; }
    const_iterator& operator-=(difference_type n) { return index_ -= n, *this; }
    friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
    friend const_iterator operator+(difference_type n, const_iterator it) { return it += n; }
    friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
    friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
      return static_cast<difference_type>(a.index_) - static_cast<difference_type>(b.index_);
    }
    friend bool operator==(const const_iterator& a, const const_iterator& b) {
      return a.index_ == b.index_;
    }
    friend std::strong_ordering operator<=>(const const_iterator& a, const const_iterator& b) {
      return a.index_ <=> b.index_;
    }
    std::size_t Index() const { return index_; }

   private:
    const LineList* list_ = nullptr;
    std::size_t index_ = 0;
  };
  using iterator = const_iterator;
  using value_type = std::string_view;
  using reference = std::string_view;
  using const_reference = std::string_view;
  using size_type = std::size_t;
  using difference_type = std::ptrdiff_t;

  LineList() = default;
  // No constructor from a braced list: a call that takes lines either way stays the vector's.
  template <std::input_iterator It>
  requires std::constructible_from<std::string_view, std::iter_reference_t<It>> LineList(It first,
                                                                                         It last) {
    assign(first, last);
  }
  LineList(const LineList& other) : LineList(other.begin(), other.end()) {}
  LineList(LineList&& other) noexcept { swap(other); }
  LineList& operator=(const LineList& other);
  LineList& operator=(LineList&& other) noexcept;
  LineList& operator=(std::initializer_list<std::string_view> lines);
  LineList& operator=(const std::vector<std::string>& lines);

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::string_view operator[](std::size_t i) const;
  std::string_view front() const { return (*this)[0]; }
  std::string_view back() const { return (*this)[size_ - 1]; }
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size_}; }
  std::reverse_iterator<const_iterator> rbegin() const { return std::reverse_iterator(end()); }
  std::reverse_iterator<const_iterator> rend() const { return std::reverse_iterator(begin()); }

  void push_back(std::string_view line);
  void emplace_back(std::string_view line) { push_back(line); }
  template <class It>
  void assign(It first, It last) {
    LineList built;
    for (; first != last; ++first) built.push_back(std::string_view(*first));
    swap(built);
  }
  void assign(std::size_t count, std::string_view line);
  // Keeps the first chunk and the first block of the index for the lines to come (a printer that
  // takes each document's lines clears the list every few lines); the rest goes back.
  void clear();
  // Lines out of the middle or the front are taken by building the list again from the lines
  // that stay: the cost is a copy of those. Lines off the end cost nothing but the index.
  const_iterator erase(const_iterator first, const_iterator last);
  const_iterator erase(const_iterator at) { return erase(at, at + 1); }
  void swap(LineList& other) noexcept;

  // What the list holds: the chunks' capacity, the index's, and the two tables of them.
  std::size_t BytesHeld() const;
  // The lines' bytes alone.
  std::size_t TextBytes() const;

  operator std::vector<std::string>() const { return {begin(), end()}; }
  friend bool operator==(const LineList& a, const LineList& b) { return Same(a, b); }
  friend bool operator==(const LineList& a, const std::vector<std::string>& b) {
    return Same(a, b);
  }

 private:
  struct Chunk {
    std::unique_ptr<char[]> bytes;
    std::size_t capacity = 0, used = 0;
  };
  // A line's entry: its chunk, counted from the block's first chunk (a block of 4096 lines spans
  // at most 4096 chunks: 12 bits), and where in the chunk it starts (20 bits). The line ends where
  // the next one of the same chunk starts, or at the chunk's end.
  struct Block {
    std::uint32_t firstChunk = 0;
    std::vector<std::uint32_t> entries;
  };
  struct Place {
    std::size_t chunk, offset;
  };
  static constexpr std::size_t kBlockEntries = 4096;
  static constexpr unsigned kOffsetBits = 20;
  static constexpr std::size_t kLargestOffset = (std::size_t{1} << kOffsetBits) - 1;
  static constexpr std::size_t kFirstChunk = 4096;
  static constexpr std::size_t kLargestChunk = std::size_t{1} << kOffsetBits;

  template <class Lines>
  static bool Same(const LineList& a, const Lines& b) {
    if (a.size() != b.size()) return false;
    std::size_t i = 0;
    for (const auto& line : b)
      if (a[i++] != std::string_view(line)) return false;
    return true;
  }
  Place PlaceOf(std::size_t i) const {
    const Block& block = index_[i / kBlockEntries];
    const std::uint32_t entry = block.entries[i % kBlockEntries];
    return {block.firstChunk + (entry >> kOffsetBits), entry & kLargestOffset};
  }
  // The chunk with room for n more bytes: the last one, or a new one.
  Chunk& ChunkFor(std::size_t n);

  std::vector<Chunk> chunks_;
  std::vector<Block> index_;  // blocks of kBlockEntries, the first one growing
  std::size_t size_ = 0;
  std::size_t nextChunk_ = kFirstChunk;  // the capacity of the next chunk that is not a line's own
};

}  // namespace morvek
