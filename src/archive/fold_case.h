#pragma once
// Texts a search compares, in lower case: the words of documents and the words looked for.
#include <string>
#include <string_view>

namespace morvek {

// UTF-8 text with the capitals of the Latin and Cyrillic alphabets in lower case ("ХЛІБ Ґ" ->
// "хліб ґ"), whatever the locale; other characters and malformed bytes stay as they are.
std::string FoldCase(std::string_view utf8);

}  // namespace morvek
