#pragma once
// What the window logic asks of the windowing system beyond its own controls. The desktop program
// implements it with the toolkit, the terminal program and the tests without one. Texts are
// Windows-1251, as everywhere in the core.
#include <optional>
#include <string>
#include <vector>

#include "platform/text_strip.h"

namespace morvek {

struct SaveDialogOptions {
  std::string filter;
  std::string fileName;
  std::string defaultExt;
};

class Ui {
 public:
  virtual ~Ui() = default;
  // A modal message with an OK button; with a caption where one is given.
  virtual void ShowMessage(const std::string& text) = 0;
  virtual void ShowMessageBox(const std::string& text, const std::string& caption) = 0;
  // A modal Yes/No question; true for Yes.
  virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
  // Lets pending window events run (repaints, the wait window's abort button).
  virtual void ProcessMessages() = 0;
  virtual void Sleep(int ms) = 0;
  // The platform's report of a failure that no handler caught.
  virtual void ShowUnhandledError(const std::string& message) = 0;
  // A full file name, with the default extension added to a name typed without one; nothing when
  // the operator cancels.
  virtual std::optional<std::string> PromptSaveFile(const SaveDialogOptions& options) = 0;
  // The strips on a printer the operator picks in the platform's print dialog, a strip moved
  // whole to the next page when it fits on one; false when they cancel or there is no printer.
  virtual bool PrintStrips(const std::vector<TextStrip>& strips) = 0;
};

}  // namespace morvek
