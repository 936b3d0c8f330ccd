#pragma once
// Captions both layouts print, as Windows-1251 bytes.
#include <string_view>

#include "codec/cp1251.h"

namespace morvek {

inline constexpr std::string_view kCompany = "          ДП \"Компанія VERNO\""_cp;
inline constexpr std::string_view kCity = "                м.Київ"_cp;
inline constexpr std::string_view kFactoryNumber = "     ЗН "_cp;
inline constexpr std::string_view kFiscalNumber = "  ФН "_cp;
inline constexpr std::string_view kSeparator = "  --------------------------------------";
inline constexpr std::string_view kNumberField = "  000000000";
inline constexpr std::string_view kFiscalReceipt = "         ФІСКАЛЬНИЙ ЧЕК"_cp;

}  // namespace morvek
