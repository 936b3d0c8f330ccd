#pragma once
// The Datecs commands the driver knows by caption, and the codes of the ones this program sends.
#include <cstdint>
#include <string_view>

namespace morvek::datecs {

inline constexpr std::uint8_t kDiagnostics = 0x5A;  // "Запрос диагностической информации"
inline constexpr std::uint8_t kDocument = 0xA7;         // one document fragment by number
inline constexpr std::uint8_t kPrintInterval = 0xEB;    // print a document interval
inline constexpr std::uint8_t kDocumentsByDate = 0xEE;  // the document interval of a date range

}  // namespace morvek::datecs

namespace morvek {

// The caption of a command code (Windows-1251); "Неверная команда" for a code it does not know.
std::string_view DatecsCommandCaption(int code);

}  // namespace morvek
