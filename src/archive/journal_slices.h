#pragma once
#include <string_view>
#include <vector>

namespace morvek {

// The documents' slices as SliceDocuments finds them, without the parser's check of the whole
// text: for a caller that parses the text anyway.
std::vector<std::string_view> SliceJournal(std::string_view journal);

}  // namespace morvek
