#pragma once
// The About box.
#include <string>

#include "platform/controls.h"
#include "platform/window.h"

namespace morvek {

class Application;

class TForm54 : public Window {
 public:
  explicit TForm54(Application& app) : app_(app) {}

  Label Label1;    // "ПО morvek (вер. ...)"
  Label Label2;    // the authors' line
  Label Label3;    // empty, centred
  Button Button1;  // "Закрыть"

  void FormCreate();
  // The captions in the current language.
  void Retranslate();
  void FormActivate();
  void Button1Click() { Close(); }

 private:
  Application& app_;
};

}  // namespace morvek
