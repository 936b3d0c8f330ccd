#pragma once
// The rendered lines on standard output, in UTF-8 or as the Windows-1251 bytes they are.
#include <string>
#include <vector>

namespace morvek {

// False when standard output did not take every byte (a full disk, a closed descriptor).
bool PrintLines(const std::vector<std::string>& lines, bool utf8);

}  // namespace morvek
