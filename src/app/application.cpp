#include "app/application.h"

#include <exception>
#include <string>

namespace morvek {

Application::Application(Ui& ui_, const RegisterTimings& timings_)
    : ui(ui_),
      timings(timings_),
      Form3(*this),
      Form53(*this),
      Form54(*this),
      FormArchive(*this),
      zelmar(Form1.ClientSocket1, ui_, timings.zelmar),
      datecs(Form1.ClientSocket1, timings.datecs),
      zelmarLink(zelmar, Form1.ClientSocket1, timings.blocks),
      datecsLink(datecs, Form1.ClientSocket1, timings.blocks) {
  zelmarLink.onResult = [this](const ZelmarResult* result) { Form2.lastZelmarResult = result; };
  datecsLink.onResult = PrinterResultsxCallback();
  zelmar.reannounce = [this] { return Form3.Reannounce(); };
  datecs.hooks.countdown = [this](int attempt, int secondsLeft) {
    Form5.Show();
    Form5.Label2.text = std::to_string(attempt) + " : " + std::to_string(secondsLeft);
    Form5.Repaint();
    ui.ProcessMessages();
    return Form5.IsAborted();
  };
  datecs.hooks.countdownDone = [this] { Form5.Hide(); };
  datecs.hooks.reannounce = [this] { return Form3.ReannounceDatecs(); };
}

Protocol Application::ChosenProtocol() const {
  return Form3.RadioGroup1.itemIndex == 1 ? Protocol::kZelmar : Protocol::kDatecs;
}

RegisterLink& Application::Link() {
  if (ChosenProtocol() == Protocol::kZelmar) return zelmarLink;
  return datecsLink;
}

void Application::PrinterResultsx(datecs::RetData& result) {
  Form2.lastDatecsResult = result;  // a copy of its own: the texts outlive the next exchange
  ShowDatecsError(ui, result);
}

void Application::Create() {
  Form3.FormCreate();
  Form53.FormCreate();
  Form54.FormCreate();
}

void Application::Retranslate() {
  Form3.Retranslate();
  Form5.Retranslate();
  Form53.Retranslate();
  Form54.Retranslate();
  FormArchive.Retranslate();
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
