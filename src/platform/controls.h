#pragma once
// The controls of the windows as plain models: the window logic reads and writes them, the desktop
// views bind widgets to them, the terminal program fills and prints them.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "platform/line_list.h"

namespace morvek {

struct Label {
  std::string text;
};

struct Edit {
  std::string text;
  bool enabled = true;
  int maxLength = 0;  // 0: no limit
};

struct Button {
  std::string caption;
  bool enabled = true;
};

struct CheckBox {
  std::string caption;
  bool checked = false;
  bool enabled = true;
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

struct RadioGroup {
  std::string caption;
  std::vector<std::string> items;
  int itemIndex = -1;  // -1: nothing selected
};

struct ListBox {
  LineList lines;
  // Counts the clears, so a view can tell a list refilled from one only appended to.
  unsigned long clears = 0;

  void Clear() {
    lines.clear();
    ++clears;
  }
  void Add(std::string_view line) { lines.push_back(line); }
};

struct StatusBar {
  std::array<std::string, 4> panels;  // widths 170, 120, 120, 50
};

// A coloured shape; the colours as the window system numbers them (red in the low byte).
struct Shape {
  static constexpr int kRed = 255;
  static constexpr int kLime = 65280;
  int color = kRed;
};

struct MenuItem {
  std::string caption;
  bool enabled = true;
};

}  // namespace morvek
