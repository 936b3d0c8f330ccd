#include "app/application.h"

#include <exception>

namespace morvek {

Application::Application(Ui& ui_, ZelmarTimings zelmarTimings)
    : ui(ui_),
      Form3(*this),
      Form53(*this),
      Form54(*this),
      zelmar(Form1.ClientSocket1, ui_, Form3, zelmarTimings),
      datecs(Form1, Form2, Form3, Form5, ui_) {}

void Application::Create() {
  Form3.FormCreate();
  Form53.FormCreate();
  Form54.FormCreate();
}

bool Application::RunExclusive(const std::function<void()>& exchange) {
  if (exchangeRunning_) return false;
  exchangeRunning_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{exchangeRunning_};
  exchange();
  return true;
}

void Application::Guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    ui.ShowUnhandledError(e.what());
  }
}

}  // namespace morvek
