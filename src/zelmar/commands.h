#pragma once
// The Zelmar commands the driver knows by caption, and the codes of the ones this program sends.
#include <cstdint>
#include <string_view>

namespace morvek::zelmar {

inline constexpr std::uint8_t kDiagnostics = 0x80;      // the register's diagnostic information
inline constexpr std::uint8_t kDocument = 0xA7;         // one document fragment by number
inline constexpr std::uint8_t kPrintInterval = 0xEB;    // print a document interval
inline constexpr std::uint8_t kDocumentsByDate = 0xEE;  // the document interval of a date range

}  // namespace morvek::zelmar

namespace morvek {

// "Команда A7h: Вывод документов в электронном виде"; "Неверная команда" for a code the
// register does not know. Windows-1251.
std::string_view ZelmarCommandCaption(int command);

}  // namespace morvek
