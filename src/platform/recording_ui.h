#pragma once
// A Ui for a session run from code: the messages, questions and failure reports are kept for the
// caller to read, questions get the answer set beforehand, dialogs are cancelled, what is printed
// is kept, and sleeps sleep.
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/ui.h"

namespace morvek {

class RecordingUi : public Ui {
 public:
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void ShowMessageBox(const std::string& text, const std::string& caption) override {
    messages.push_back(text);
    captions.push_back(caption);
  }
  bool AskYesNo(const std::string& text, const std::string& caption) override {
    questions.push_back(text);
    captions.push_back(caption);
    return yesAnswer;
  }
  void ProcessMessages() override {}
  void Sleep(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
  void ShowUnhandledError(const std::string& message) override { errors.push_back(message); }
  std::optional<std::string> PromptSaveFile(const SaveDialogOptions&) override {
    return std::nullopt;
  }
  bool PrintStrips(const std::vector<TextStrip>& strips) override {
    printed.push_back(strips);
    return true;
  }

  std::vector<std::string> messages, errors, captions, questions;  // Windows-1251
  std::vector<std::vector<TextStrip>> printed;
  bool yesAnswer = false;
};

}  // namespace morvek
