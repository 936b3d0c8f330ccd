#pragma once
#include <string>
#include <string_view>

namespace morvek {

// Standard alphabet; decoding stops at the first "=" or the first character outside the alphabet
// (so a line break ends it). A last group of k characters gives k - 1 bytes.
std::string Base64Decode(std::string_view text);

// Standard alphabet with "=" padding to a whole group of four characters.
std::string Base64Encode(std::string_view bytes);

}  // namespace morvek
