#pragma once
// After the server's "Ready": the register's diagnostics for the status bar's four panels, and the
// firmware date gate that tells whether the register sends its documents in blocks.
#include <array>
#include <optional>
#include <string>

#include "link/register_link.h"
#include "platform/ui.h"

namespace morvek {

using StatusPanels = std::array<std::string, 4>;

// Asks the register for its diagnostics (a second time when the first reply was short) and fills
// the panels it has: all four for a Zelmar register, the second and fourth for a Datecs one. The
// firmware gate, or nothing when a Zelmar register did not answer ("Ошибка! Таймаут устройства!"
// is shown). A Datecs date too short to read raises RangeError, the panels filled.
std::optional<bool> CheckRegister(RegisterLink& link, Ui& ui, StatusPanels& panels);

// The firmware date gate: built on 4 December 2015 or later, from a date such as "Dec  4 2015".
// A year or day that is no number raises ConvertError.
bool CheckFirmwareDate(const std::string& text);
// The gate for a Datecs date such as "4Dec15" or "12Dec15"; a text shorter than two characters
// raises RangeError.
bool CheckDatecsFirmwareDate(const std::string& text);

}  // namespace morvek
