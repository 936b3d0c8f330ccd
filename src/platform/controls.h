#pragma once
// The controls of the windows as plain models: the window logic reads and writes them, the desktop
// views bind widgets to them, the terminal program fills and prints them.
#include <string>
#include <vector>

namespace morvek {

struct Label {
  std::string text;
};

struct Edit {
  std::string text;
  bool enabled = true;
  int maxLength = 0;  // 0: no limit
};

struct ComboBox {
  std::vector<std::string> items;
  int itemIndex = -1;  // -1 when the operator typed into the box instead of choosing
  std::string text;
  bool enabled = true;

  void Select(int index) {
    itemIndex = index;
    text = index >= 0 && index < static_cast<int>(items.size()) ? items[index] : std::string();
  }
};

struct ListBox {
  std::vector<std::string> lines;

  void Clear() { lines.clear(); }
  void Add(std::string line) { lines.push_back(std::move(line)); }
};

}  // namespace morvek
