#pragma once
// What the window logic knows of a window as such: shown or hidden, and a repaint the view carries
// out (the desktop view repaints its widgets, the terminal program prints progress).
#include <functional>

namespace morvek {

struct Window {
  bool visible = false;
  std::function<void()> onRepaint;

  void Show() { visible = true; }
  void Hide() { visible = false; }
  void Repaint() {
    if (onRepaint) onRepaint();
  }
};

}  // namespace morvek
