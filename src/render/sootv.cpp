#include "render/sootv.h"

namespace morvek {

void sootv::Clear() {
  entries_.clear();
  count_ = 0;
  filled_ = false;
}

void sootv::Set(int key, int value) {
  entries_[key] = value;
  filled_ = true;
  ++count_;
}

int sootv::Get(int key) {
  return entries_[key];
}

int sootv::FindKeyByValue(int value) const {
  if (count_ == 0) return -1;
  for (const auto& [key, v] : entries_)
    if (v == value) return key;
  return -1;
}

}  // namespace morvek
