#pragma once
// What the retrieval needs to know of one document the register sent, before it joins the
// request's assembled document: whether it is well-formed (one broken document would keep every
// other of the request out of the model), which document it is (the DI of its DAT element), and
// the receipt or Z-report number it carries.
#include <optional>
#include <string>
#include <string_view>

namespace morvek {

struct DocumentIdentity {
  bool wellFormed = false;
  std::string di;             // empty when its DAT has none
  std::optional<int> number;  // E NO of a receipt, Z NO of a Z-report
};

// text: the register's XML of one document (a DAT element and its MAC), Windows-1251.
DocumentIdentity IdentifyDocument(std::string_view text);

}  // namespace morvek
