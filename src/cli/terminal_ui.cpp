#include "cli/terminal_ui.h"

#include <chrono>
#include <iostream>
#include <thread>

#include "codec/cp1251.h"

namespace morvek {

void TerminalUi::ShowMessage(const std::string& text) {
  std::cerr << Cp1251ToUtf8(text) << '\n';
}

void TerminalUi::ShowMessageBox(const std::string& text, const std::string& caption) {
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
  std::cerr << "error: " << Cp1251ToUtf8(message) << '\n';
}

}  // namespace morvek
