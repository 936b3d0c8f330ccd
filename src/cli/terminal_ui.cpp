#include "cli/terminal_ui.h"

#include <chrono>
#include <iostream>
#include <thread>

#include "codec/cp1251.h"

namespace morvek {

void TerminalUi::ShowMessage(const std::string& text) {
  ++reports;
  std::cerr << Cp1251ToUtf8(text) << '\n';
}

void TerminalUi::ShowMessageBox(const std::string& text, const std::string& caption) {
  ++reports;
  std::cerr << Cp1251ToUtf8(caption) << ": " << Cp1251ToUtf8(text) << '\n';
}

bool TerminalUi::AskYesNo(const std::string& text, const std::string& caption) {
  std::cerr << Cp1251ToUtf8(caption) << ": " << Cp1251ToUtf8(text)
            << (answerYes ? " [yes]" : " [no]") << '\n';
  return answerYes;
}

void TerminalUi::Sleep(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void TerminalUi::ShowUnhandledError(const std::string& message) {
  ++reports;
  std::cerr << "error: " << Cp1251ToUtf8(message) << '\n';
}

std::optional<std::string> TerminalUi::PromptSaveFile(const SaveDialogOptions& options) {
  if (!saveFileName) return std::nullopt;
  // As the dialog does: a typed name without extension gets the default one. A name that ends in
  // a separator names a folder and is left as it is, so that writing to it fails instead of
  // creating a hidden ".txt" inside it.
  std::string name = *saveFileName;
  const auto slash = name.rfind('/');
  const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
  if (base < name.size() && name.find('.', base) == std::string::npos)
    name += "." + options.defaultExt;
  return name;
}

}  // namespace morvek
