#pragma once
// A Ui with no one to ask: messages are dropped, questions answered No, dialogs cancelled, sleeps
// skipped. For benchmarks, fuzzing and other runs without an operator.
#include "platform/ui.h"

namespace morvek {

class SilentUi : public Ui {
 public:
  void ShowMessage(const std::string&) override {}
  void ShowMessageBox(const std::string&, const std::string&) override {}
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  void ProcessMessages() override {}
  void Sleep(int) override {}
  void ShowUnhandledError(const std::string&) override {}
  std::optional<std::string> PromptSaveFile(const SaveDialogOptions&) override {
    return std::nullopt;
  }
  bool PrintStrips(const std::vector<TextStrip>&) override { return false; }
};

}  // namespace morvek
