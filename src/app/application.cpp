#include "app/application.h"

#include <exception>

namespace morvek {

Application::Application(Ui& ui_, const ZelmarTimings& zelmarTimings)
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
  try {
    exchange();
  } catch (...) {
    exchangeRunning_ = false;
    CloseIfPending();
    throw;
  }
  exchangeRunning_ = false;
  CloseIfPending();
  return true;
}

bool Application::RequestClose() {
  if (closed_) return true;
  if (exchangeRunning_) {
    closePending_ = true;
    return false;
  }
  closePending_ = false;
  closed_ = true;
  Form3.FormClose();
  Form3.Hide();
  if (onQuit) onQuit();
  return true;
}

void Application::CloseIfPending() {
  if (closePending_) RequestClose();
}

void Application::Guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    ui.ShowUnhandledError(e.what());
  }
}

}  // namespace morvek
