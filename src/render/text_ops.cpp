#include "render/text_ops.h"

#include "codec/cp1251.h"
#include "codec/errors.h"
#include "platform/numbers.h"
#include "platform/slice.h"

namespace morvek {

std::string PlaceRight(std::string_view line, std::string_view value, int column) {
  std::string result(line);
  if (result.size() < 38) result.append(35, ' ');
  if (column != kAmountColumn && column != kRateColumn && column != kFirstAmountColumn &&
      column != kNumberColumn)
    return result;
  const long first = column - static_cast<long>(value.size()) + 1;  // 1-based
  if (first < 1 || column > static_cast<long>(result.size())) throw RangeError("Range check error");
  result.replace(static_cast<std::size_t>(first - 1), value.size(), value);
  return result;
}

std::string_view TaxLetter(int index) {
  switch (index) {
    case 0: return " ";
    case 1: return "A";
    case 2: return "Б"_cp;
    case 3: return "В"_cp;
    case 4: return "Г"_cp;
    case 5: return "Д"_cp;
    case 6: return "*";
    default: return "Много параметров"_cp;
  }
}

std::string FormatStamp(std::string_view stamp, bool withTime) {
  std::string text;
  text.reserve(17);
  text += Slice(stamp, 7, 2);
  text += '.';
  text += Slice(stamp, 5, 2);
  text += '.';
  text += Slice(stamp, 1, 4);
  text += "  ";
  if (withTime) {
    text += Slice(stamp, 9, 2);
    text += ':';
    text += Slice(stamp, 11, 2);
  }
  return text;
}

std::string Money(double deviceUnits) {
  return FloatToFixed(deviceUnits * 0.01, 2);
}

std::string Rate(double value) {
  return FloatToFixed(value, 2);
}

int WholeOf(std::string_view text) {
  return StrToInt(text);
}

int WholeOf(double value) {
  return TruncToInt(value);
}

}  // namespace morvek
