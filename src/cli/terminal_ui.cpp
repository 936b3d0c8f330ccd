#include "cli/terminal_ui.h"

#include <iostream>

#include "platform/cp1251.h"

namespace morvek {

void TerminalUi::ShowMessage(const std::string& text) {
  std::cerr << Cp1251ToUtf8(text) << '\n';
}

void TerminalUi::ShowUnhandledError(const std::string& message) {
  std::cerr << "error: " << Cp1251ToUtf8(message) << '\n';
}

std::optional<std::string> TerminalUi::PromptSaveFile(const SaveDialogOptions& options) {
  if (!saveFileName) return std::nullopt;
  std::string name = *saveFileName;
  const auto slash = name.rfind('/');
  if (name.find('.', slash == std::string::npos ? 0 : slash + 1) == std::string::npos)
    name += "." + options.defaultExt;
  return name;
}

}  // namespace morvek
