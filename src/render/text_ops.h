#pragma once
// The text operations the receipt and Z-report layouts share. Texts are Windows-1251 bytes, so a
// byte is a column.
#include <string>
#include <string_view>

namespace morvek {

// The columns the layouts place values at.
inline constexpr int kAmountColumn = 37, kRateColumn = 30, kFirstAmountColumn = 24,
                     kNumberColumn = 11;

// Pads a line shorter than 38 characters with 35 spaces, then overwrites it so that the value's
// last character stands at `column` (counted from 1). Other columns than the four above return the
// padded line. A value that would start before column 1 or end past the line raises RangeError.
std::string PlaceRight(std::string_view line, std::string_view value, int column);
// The mark of a tax group: " ", "A" (Latin), "Б", "В", "Г", "Д", "*", else "Много параметров".
std::string_view TaxLetter(int index);
// "201603051407" -> "05.03.2016  14:07" (with time) or "05.03.2016  ". Short stamps give short
// pieces, never a read past the end.
std::string FormatStamp(std::string_view stamp, bool withTime);

// Number texts of the layouts.
std::string Money(double deviceUnits);  // kopecks as hryvnias, 2 decimals
std::string Rate(double value);         // unscaled, 2 decimals
// The whole number of a text: a decimal integer, else ConvertError.
int WholeOf(std::string_view text);
// The whole number of a float: truncated toward zero, out of range raises ConvertError.
int WholeOf(double value);

}  // namespace morvek
