#pragma once
// The notice window: two lines of text the retrieval window sets while a request runs.
#include "platform/controls.h"
#include "platform/window.h"

namespace morvek {

class TForm4 : public Window {
 public:
  Label Label1;
  Label Label2;

  // Repaints at once, so texts set just before show while the caller keeps the thread busy.
  void FormActivate() { Repaint(); }
};

}  // namespace morvek
