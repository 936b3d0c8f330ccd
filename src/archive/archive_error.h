#pragma once
#include <stdexcept>

namespace morvek {

// The archive cannot be opened, read or written, or a document cannot be taken into it.
struct ArchiveError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace morvek
