#pragma once
#include <stdexcept>

namespace morvek {

// A document that cannot be exported as asked (its text image does not render).
class ExportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace morvek
