#pragma once
// The windows' questions and reports on a terminal: messages on standard error in UTF-8, the save
// dialog answered by a file name given on the command line.
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
  std::optional<std::string> PromptSaveFile(const SaveDialogOptions& options) override;

  std::optional<std::string> saveFileName;
  int reports = 0;  // messages and error reports shown, questions not counted
  bool answerYes = false;
};

}  // namespace morvek
