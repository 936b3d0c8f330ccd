#pragma once
// Number texts as the register's tool always wrote and read them: "." as the decimal separator,
// no grouping, never the process locale (the desktop toolkit may set one with a decimal comma).
#include <string>
#include <string_view>

namespace morvek {

// Decimal integer: leading blanks and one sign allowed, nothing after the digits, within 32 bits.
// Anything else raises ConvertError "'text' is not a valid integer value".
int StrToInt(std::string_view text);
// As StrToInt, with fallback for text that is not an integer.
int StrToIntDef(std::string_view text, int fallback);
// Decimal float: blanks around it, a sign, digits with one ".", an exponent. "," "inf" "nan",
// hexadecimal and values outside the 32-bit float range raise ConvertError; a value too small for
// a float is 0 (or as near as the float holds it).
float StrToFloat(std::string_view text);
// Fixed-point text with the given decimals and at most `precision` significant digits, scaled and
// rounded in double precision (ties away from zero); a value with more whole digits than
// `precision` is written in exponent form ("1.5E10"). Never "-0.00", always ".", never grouped.
std::string FloatToFixed(double value, int decimals, int precision = 9);
// The whole number of a float, truncated toward zero; outside the 32-bit range raises ConvertError.
int TruncToInt(double value);

}  // namespace morvek
