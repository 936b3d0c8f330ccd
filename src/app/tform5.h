#pragma once
// The wait window: a countdown while the register is silent, and "Прервать" to give up waiting.
#include "platform/controls.h"
#include "platform/window.h"

namespace morvek {

class TForm5 : public Window {
 public:
  Label Label1;  // "Запрос соединения:"
  Label Label2;  // the countdown, "3 : 59"

  // "Прервать".
  void Button1Click() { aborted_ = true; }
  bool IsAborted() const { return aborted_; }
  void SetAborted(bool aborted) { aborted_ = aborted; }

 private:
  bool aborted_ = false;
};

}  // namespace morvek
