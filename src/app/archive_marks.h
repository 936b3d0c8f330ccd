#pragma once
// What the archive window's mark column says of a document after the shift check: its shift
// agrees, something is wrong (its shift, a gap before it, its XML), or its shift cannot be
// checked; with the words of its tooltip (UTF-8).
#include <string>

#include "archive/shift_marks.h"

namespace morvek {

// kPending: not checked yet; the window checks the rows it holds a slice at a time.
enum class MarkState { kPending, kConsistent, kFault, kUnchecked };

struct RowMark {
  MarkState state = MarkState::kPending;
  std::string note;  // a line per finding
};

RowMark MarkOf(const DocumentCheck& check);

// "…", "✓", "!" or "?".
std::string MarkSymbol(MarkState state);

}  // namespace morvek
