#pragma once
// The Zelmar command catalogue: every command the register knows, with its caption.
#include <string_view>

namespace morvek {

inline constexpr int kZelmarDiagnostics = 0x80;
inline constexpr int kZelmarDocument = 0xA7;
inline constexpr int kZelmarPrintInterval = 0xEB;
inline constexpr int kZelmarDocumentsByDate = 0xEE;

// "Команда A7h: Вывод документов в электронном виде"; "Неверная команда" for a code the
// register does not know. Windows-1251.
std::string_view ZelmarCommandCaption(int command);

}  // namespace morvek
