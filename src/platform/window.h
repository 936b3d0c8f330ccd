#pragma once
// What the window logic knows of a window as such: its caption, shown or hidden, active, and a
// repaint the view carries out (the desktop view repaints its widgets, the terminal program prints
// progress). Without a view the hooks are empty and only the flags change.
#include <functional>
#include <string>

namespace morvek {

struct Window {
  std::string caption;
  bool visible = false;

  std::function<void()> onRepaint;
  std::function<void(bool)> onVisibilityChange;
  // Runs the view's modal loop; returns when the window is closed.
  std::function<void()> onShowModal;
  // Closes the view's window (which runs the window's close handler).
  std::function<void()> onClose;
  std::function<bool()> onIsActive;

  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  void ShowModal() {
    SetVisible(true);
    if (onShowModal) onShowModal();
  }
  void Close() {
    if (onClose)
      onClose();
    else
      SetVisible(false);
  }
  // Without a view, a shown window counts as the active one.
  bool IsActive() const { return onIsActive ? onIsActive() : visible; }
  void Repaint() {
    if (onRepaint) onRepaint();
  }

 private:
  void SetVisible(bool v) {
    visible = v;
    if (onVisibilityChange) onVisibilityChange(v);
  }
};

}  // namespace morvek
