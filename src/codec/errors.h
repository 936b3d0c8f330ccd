#pragma once
// One exception type per kind of failure. Drivers never throw; conversions, parsing and files do,
// and the retrieval handlers catch them.
#include <stdexcept>
#include <string>

namespace morvek {

// A text that is not a number of the wanted kind, or a float out of the integer range.
struct ConvertError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A text position outside the text it writes into.
struct RangeError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A document that is not well-formed XML, or one the parser refuses (DTD, excessive nesting).
struct XmlError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A file that cannot be created, written or renamed into place.
struct FileError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace morvek
