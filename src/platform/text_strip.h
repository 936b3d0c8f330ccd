#pragma once
// A document's text image as a strip of paper: the lines as the printer gives them, and a title
// ("Чек № 12") for the page it heads or the line that says it goes on from the column before.
#include <string>
#include <vector>

namespace morvek {

struct TextStrip {
  std::string title;
  std::vector<std::string> lines;
};

}  // namespace morvek
