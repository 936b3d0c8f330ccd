#pragma once
// The window logic's requests to the windowing system, carried out with Qt: message boxes, the
// save dialog, the print dialog, pending events, sleeps.
#include <QString>
#include <functional>

#include "platform/ui.h"

namespace morvek::gui {

inline constexpr const char* kProgramTitle = "morvek";

class QtUi : public Ui {
 public:
  void ShowMessage(const std::string& text) override;
  void ShowMessageBox(const std::string& text, const std::string& caption) override;
  bool AskYesNo(const std::string& text, const std::string& caption) override;
  void ProcessMessages() override;
  void Sleep(int ms) override;
  void ShowUnhandledError(const std::string& message) override;
  std::optional<std::string> PromptSaveFile(const SaveDialogOptions& options) override;
  bool PrintStrips(const std::vector<TextStrip>& strips) override;

  // Runs before pending events are let through and before any dialog opens, so the views show
  // the models as they stand (the caption the logic just set, not the one of a second ago).
  std::function<void()> beforeProcessing;

 private:
  int ShowBox(int icon, const QString& caption, const QString& text, int buttons);
};

}  // namespace morvek::gui
