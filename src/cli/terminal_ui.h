#pragma once
// The session's questions and reports on a terminal: messages on standard error in UTF-8,
// questions answered by the command line, no dialogs.
#include <optional>
#include <string>

#include "platform/ui.h"

namespace morvek {

class TerminalUi : public Ui {
 public:
  void ShowMessage(const std::string& text) override;
  void ShowMessageBox(const std::string& text, const std::string& caption) override;
  // Answered by the command line (--yes); No otherwise.
  bool AskYesNo(const std::string& text, const std::string& caption) override;
  void ProcessMessages() override {}
  void Sleep(int ms) override;
  void ShowUnhandledError(const std::string& message) override;
  std::optional<std::string> PromptSaveFile(const SaveDialogOptions&) override {
    return std::nullopt;
  }
  // A terminal has no print dialog: `export --format pdf` makes pages to print.
  bool PrintStrips(const std::vector<TextStrip>&) override { return false; }

  bool answerYes = false;
};

}  // namespace morvek
