#include "platform/line_list.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <utility>

namespace morvek {

LineList& LineList::operator=(const LineList& other) {
  LineList copy(other);
  swap(copy);
  return *this;
}

LineList& LineList::operator=(LineList&& other) noexcept {
  LineList taken(std::move(other));
  swap(taken);
  return *this;
}

LineList& LineList::operator=(std::initializer_list<std::string_view> lines) {
  assign(lines.begin(), lines.end());
  return *this;
}

LineList& LineList::operator=(const std::vector<std::string>& lines) {
  assign(lines.begin(), lines.end());
  return *this;
}

std::string_view LineList::operator[](std::size_t i) const {
  const Place place = PlaceOf(i);
  const Chunk& chunk = chunks_[place.chunk];
  std::size_t end = chunk.used;
  if (i + 1 < size_) {
    const Place next = PlaceOf(i + 1);
    if (next.chunk == place.chunk) end = next.offset;
  }
  return {chunk.bytes.get() + place.offset, end - place.offset};
}

LineList::Chunk& LineList::ChunkFor(std::size_t n) {
  if (!chunks_.empty()) {
    Chunk& last = chunks_.back();
    // A line must start where its entry can say: a full chunk of the largest size, or a line's
    // own, takes no more lines.
    if (last.capacity - last.used >= n && last.used <= kLargestOffset) return last;
  }
  if (chunks_.size() > std::numeric_limits<std::uint32_t>::max())
    throw std::length_error("a list of too many lines");
  Chunk chunk;
  chunk.capacity = std::max(n, nextChunk_);
  // A line longer than the next chunk gets one of its own and leaves the chunk sizes as they were.
  if (n <= nextChunk_) nextChunk_ = std::min(nextChunk_ * 2, kLargestChunk);
  chunk.bytes = std::make_unique_for_overwrite<char[]>(chunk.capacity);
  chunks_.push_back(std::move(chunk));
  return chunks_.back();
}

void LineList::push_back(std::string_view line) {
  // Room in the index first: a failure there leaves the bytes untouched.
  if (size_ % kBlockEntries == 0 && size_ / kBlockEntries == index_.size()) {
    index_.emplace_back();
    if (index_.size() > 1) index_.back().entries.reserve(kBlockEntries);
  }
  // The bytes may lie in this list itself: chunks never move, so they stay valid while copied.
  Chunk& chunk = ChunkFor(line.size());
  const std::size_t number = chunks_.size() - 1;
  Block& block = index_[size_ / kBlockEntries];
  if (block.entries.empty()) block.firstChunk = static_cast<std::uint32_t>(number);
  block.entries.push_back(
      static_cast<std::uint32_t>((number - block.firstChunk) << kOffsetBits | chunk.used));
  if (!line.empty()) std::memcpy(chunk.bytes.get() + chunk.used, line.data(), line.size());
  chunk.used += line.size();
  ++size_;
}

void LineList::assign(std::size_t count, std::string_view line) {
  LineList built;
  for (std::size_t i = 0; i < count; ++i) built.push_back(line);
  swap(built);
}

void LineList::clear() {
  size_ = 0;
  if (!chunks_.empty() && chunks_.front().capacity <= kLargestChunk) {
    chunks_.resize(1);
    chunks_.front().used = 0;
    nextChunk_ = std::min(chunks_.front().capacity * 2, kLargestChunk);
  } else {
    chunks_.clear();
    nextChunk_ = kFirstChunk;
  }
  chunks_.shrink_to_fit();
  if (!index_.empty()) {
    index_.resize(1);
    index_.front().entries.clear();
  }
  index_.shrink_to_fit();
}

LineList::const_iterator LineList::erase(const_iterator first, const_iterator last) {
  const std::size_t from = first.Index(), to = last.Index();
  if (from >= to) return {this, from};
  if (from == 0 && to == size_) {
    clear();
    return end();
  }
  if (to < size_) {
    LineList kept;
    for (std::size_t i = 0; i < size_; ++i)
      if (i < from || i >= to) kept.push_back((*this)[i]);
    swap(kept);
    return {this, from};
  }
  // Off the end: the chunk of the first line erased ends where that line began.
  const Place place = PlaceOf(from);
  chunks_[place.chunk].used = place.offset;
  chunks_.resize(place.chunk + 1);
  size_ = from;
  index_.resize((size_ + kBlockEntries - 1) / kBlockEntries);
  if (!index_.empty()) index_.back().entries.resize(size_ - (index_.size() - 1) * kBlockEntries);
  return end();
}

void LineList::swap(LineList& other) noexcept {
  chunks_.swap(other.chunks_);
  index_.swap(other.index_);
  std::swap(size_, other.size_);
  std::swap(nextChunk_, other.nextChunk_);
}

std::size_t LineList::BytesHeld() const {
  std::size_t held = chunks_.capacity() * sizeof(Chunk) + index_.capacity() * sizeof(index_[0]);
  for (const Chunk& chunk : chunks_) held += chunk.capacity;
  for (const Block& block : index_) held += block.entries.capacity() * sizeof(block.entries[0]);
  return held;
}

std::size_t LineList::TextBytes() const {
  std::size_t bytes = 0;
  for (const Chunk& chunk : chunks_) bytes += chunk.used;
  return bytes;
}

}  // namespace morvek
