#pragma once
// The wait window: a countdown while the register is silent, and "Прервать" to give up waiting.
// It is shown without being modal, and hidden by whoever showed it, who also resets the flag.
#include <string>

#include "codec/cp1251.h"
#include "platform/controls.h"
#include "platform/translation.h"
#include "platform/window.h"

namespace morvek {

class TForm5 : public Window {
 public:
  TForm5() {
    caption = "morvek";
    Retranslate();
  }
  // The texts in the current language.
  void Retranslate() {
    Label1.text = "Запрос соединения:"_tr;
    Button1.caption = "Прервать"_tr;
  }

  Label Label1;
  Label Label2;  // the countdown, "3 : 59"
  Button Button1;

  // "Прервать".
  void Button1Click() { aborted_ = true; }
  bool IsAborted() const { return aborted_; }
  void SetAborted(bool aborted) { aborted_ = aborted; }

 private:
  bool aborted_ = false;
};

}  // namespace morvek
