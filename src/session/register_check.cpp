#include "session/register_check.h"

#include "codec/cp1251.h"
#include "codec/errors.h"
#include "platform/numbers.h"
#include "platform/translation.h"

namespace morvek {

namespace {

constexpr const char* kPassword = "582941";
constexpr std::size_t kZelmarDiagnosticParams = 11;
constexpr std::size_t kDatecsDiagnosticParams = 8;
constexpr std::string_view kReferenceDate = "Dec  4 2015";

// Parameter i of a reply; empty when the reply carried fewer, whatever an earlier reply left in
// the slot.
std::string Param(const LinkReply& reply, std::size_t i) {
  return i < reply.params.size() ? reply.params[i] : std::string();
}

// count characters from position `from` (counted from 1); fewer, or none, past the end.
std::string Copy(const std::string& text, std::size_t from, std::size_t count) {
  return from > text.size() ? std::string() : text.substr(from - 1, count);
}

}  // namespace

std::optional<bool> CheckRegister(RegisterLink& link, Ui& ui, StatusPanels& panels) {
  LinkReply reply = link.Diagnostics(kPassword);
  if (link.protocol() == Protocol::kZelmar) {
    if (reply.kind == LinkReply::Kind::kNoReply || reply.kind == LinkReply::Kind::kConnectionLost) {
      ui.ShowMessage(std::string("Ошибка! Таймаут устройства!"_tr));
      return std::nullopt;
    }
    if (reply.params.size() != kZelmarDiagnosticParams) reply = link.Diagnostics(kPassword);
    for (std::size_t i = 0; i < panels.size(); ++i) panels[i] = Param(reply, i);
    return CheckFirmwareDate(Param(reply, 3));
  }
  // A register that is not heard delivers nothing: no earlier register's answer is read.
  if (reply.params.size() != kDatecsDiagnosticParams) reply = link.Diagnostics(kPassword);
  panels[1] = Param(reply, 0);
  panels[3] = Param(reply, 1);
  return CheckDatecsFirmwareDate(Param(reply, 1));
}

bool CheckFirmwareDate(const std::string& text) {
  if (text == kReferenceDate) return true;
  const int year = StrToInt(Copy(text, 8, 4));
  if (year != 2015) return year > 2015;
  if (Copy(text, 1, 3) != "Dec") return false;
  return StrToInt(Copy(text, 5, 2)) > 4;
}

bool CheckDatecsFirmwareDate(const std::string& text) {
  if (text.size() < 2) throw RangeError("Range check error");
  // "12Dec15" becomes "Dec 12 2015", "4Dec15" becomes "Dec  4 2015".
  const bool twoDigitDay = text[1] >= '0' && text[1] <= '9';
  const std::string date =
      twoDigitDay ? Copy(text, 3, 3) + " " + Copy(text, 1, 2) + " 20" + Copy(text, 6, 2)
                  : Copy(text, 2, 3) + "  " + text[0] + " 20" + Copy(text, 5, 2);
  return CheckFirmwareDate(date);
}

}  // namespace morvek
