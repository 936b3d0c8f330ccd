#pragma once
// What every view offers the desktop: its top-level widget, a refresh that shows the control
// models as they stand, and its own texts, set again when the language changes.
#include "gui/view_texts.h"

class QWidget;

namespace morvek::gui {

class View {
 public:
  virtual ~View() = default;
  virtual QWidget& widget() = 0;
  virtual void Refresh() = 0;

  ViewTexts texts;
};

}  // namespace morvek::gui
