#pragma once
// What every view offers the desktop: its top-level widget, and a refresh that shows the control
// models as they stand.
class QWidget;

namespace morvek::gui {

class View {
 public:
  virtual ~View() = default;
  virtual QWidget& widget() = 0;
  virtual void Refresh() = 0;
};

}  // namespace morvek::gui
