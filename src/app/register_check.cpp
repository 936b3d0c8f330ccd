// After the server's "Ready": the register's diagnostics in the status bar, and the firmware date
// gate that tells the retrieval window whether the register sends its documents in blocks.
#include <array>
#include <string>

#include "app/application.h"
#include "app/tform3.h"
#include "codec/cp1251.h"
#include "platform/errors.h"
#include "platform/numbers.h"

namespace morvek {

namespace {

constexpr const char* kPassword = "582941";
constexpr int kZelmarDiagnosticParams = 11;
constexpr int kDatecsDiagnosticParams = 8;
constexpr std::string_view kReferenceDate = "Dec  4 2015";

// Parameter i of a reply; empty when the reply carried fewer, whatever an earlier reply left in
// the slot.
template <typename Result>
std::string Param(const Result& result, int i) {
  return i < result.paramCount ? result.params[static_cast<std::size_t>(i)] : std::string();
}

// count characters from position `from` (counted from 1); fewer, or none, past the end.
std::string Copy(const std::string& text, std::size_t from, std::size_t count) {
  return from > text.size() ? std::string() : text.substr(from - 1, count);
}

}  // namespace

bool TForm3::CheckRegister(bool zelmar) {
  TForm2& shared = app_.Form2;
  bool gate = false;
  if (zelmar) {
    int out = 0;
    const ZelmarResult* result = app_.zelmar.ZelmarGetDiagnostics(kPassword, out);
    shared.lastZelmarResult = result;
    if (result->statusFlags & ZelmarResult::kNoReply) {
      app_.ui.ShowMessage(std::string("Ошибка! Таймаут устройства!"_cp));
      return false;
    }
    if (result->paramCount != kZelmarDiagnosticParams) {
      result = app_.zelmar.ZelmarGetDiagnostics(kPassword, out);
      shared.lastZelmarResult = result;
    }
    for (int i = 0; i < 4; ++i) StatusBar1.panels[static_cast<std::size_t>(i)] = Param(*result, i);
    gate = CheckFirmwareDate(Param(*result, 3));
  } else {
    // A register that is not heard delivers nothing: the copy must not keep an earlier register's
    // answer.
    shared.lastDatecsResult = {};
    DatecsDriver& datecs = app_.datecs;
    datecs.DatecsGetDiagnostics(app_.PrinterResultsxCallback(), 0, 0);
    if (shared.lastDatecsResult.paramCount != kDatecsDiagnosticParams)
      datecs.DatecsGetDiagnostics(app_.PrinterResultsxCallback(), 0, 0);
    StatusBar1.panels[1] = Param(shared.lastDatecsResult, 0);
    StatusBar1.panels[3] = Param(shared.lastDatecsResult, 1);
    gate = CheckDatecsFirmwareDate(Param(shared.lastDatecsResult, 1));
  }
  app_.Form53.SetRecentFirmware(gate);
  return true;
}

bool TForm3::CheckFirmwareDate(const std::string& text) {
  if (text == kReferenceDate) return true;
  const int year = StrToInt(Copy(text, 8, 4));
  if (year != 2015) return year > 2015;
  if (Copy(text, 1, 3) != "Dec") return false;
  return StrToInt(Copy(text, 5, 2)) > 4;
}

bool TForm3::CheckDatecsFirmwareDate(const std::string& text) {
  if (text.size() < 2) throw RangeError("Range check error");
  // "12Dec15" becomes "Dec 12 2015", "4Dec15" becomes "Dec  4 2015".
  const bool twoDigitDay = text[1] >= '0' && text[1] <= '9';
  const std::string date =
      twoDigitDay ? Copy(text, 3, 3) + " " + Copy(text, 1, 2) + " 20" + Copy(text, 6, 2)
                  : Copy(text, 2, 3) + "  " + text[0] + " 20" + Copy(text, 5, 2);
  return CheckFirmwareDate(date);
}

}  // namespace morvek
