#pragma once
// The filter of the archive window as its fields hold it (UTF-8), and the archive query it asks.
#include <optional>
#include <string>
#include <vector>

#include "archive/archive.h"

namespace morvek {

struct ArchiveFilter {
  std::string registerKey;           // a fiscal number; empty: every register ("все")
  std::string from, to;              // "dd.mm.yy", inclusive; empty: open
  int kind = 0;                      // an index of ArchiveKindChoices(); 0: any
  std::string numberFrom, numberTo;  // whole numbers; empty: open
  std::string text;                  // words that all stand in the document
};

// "любой", "чек", "возврат", "служебный", "аннулированный", "Z-отчет".
std::vector<std::string> ArchiveKindChoices();
// How the window names a kind: "чек", "возврат", ...
std::string KindCaption(DocumentKind kind);

// The query the filter asks; none, with the reason for the operator in `error`, when a field does
// not read.
std::optional<FindQuery> FilterQuery(const ArchiveFilter& filter, std::string& error);

}  // namespace morvek
