#pragma once
// The text a search looks in: a document's item names and line texts, in lower case.
#include <string>
#include <string_view>

#include "archive/document_record.h"

namespace morvek {

// UTF-8 text with the capitals of the Latin and Cyrillic alphabets in lower case ("ХЛІБ Ґ" ->
// "хліб ґ"), whatever the locale; other characters and malformed bytes stay as they are.
std::string FoldCase(std::string_view utf8);

// The item names and line texts of a document, one a line, case folded.
std::string SearchText(const DocumentRecord& record);

}  // namespace morvek
