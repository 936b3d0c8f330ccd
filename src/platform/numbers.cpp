#include "platform/numbers.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <system_error>

#include "codec/errors.h"

namespace morvek {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string Quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

bool ParseInt(std::string_view text, int& out) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return false;
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return false;
    value = value * 10 + (text[i] - '0');
    if (value > 2147483648LL) return false;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int>::max()) return false;
  out = static_cast<int>(value);
  return true;
}

// The power of ten of the leading non-zero digit of a number text already checked for shape
// ("12.5e3" gives 4). Only its sign matters, so the exponent is held within a safe range.
long long DecimalMagnitude(std::string_view number) {
  const std::size_t e = std::min(number.find_first_of("eE"), number.size());
  long long exponent = 0;
  if (e < number.size()) {
    std::size_t i = e + 1;
    const bool negative = number[i] == '-';
    if (number[i] == '+' || number[i] == '-') ++i;
    for (; i < number.size(); ++i) exponent = std::min(exponent * 10 + (number[i] - '0'), 100000LL);
    if (negative) exponent = -exponent;
  }
  const std::string_view mantissa = number.substr(0, e);
  const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
  const std::size_t lead = mantissa.find_first_not_of("0.");
  if (lead == std::string_view::npos) return 0;  // all zeros
  const auto position = lead < point ? static_cast<long long>(point - lead - 1)
                                     : -static_cast<long long>(lead - point);
  return position + exponent;
}

}  // namespace

int StrToInt(std::string_view text) {
  int value = 0;
  if (!ParseInt(text, value)) throw ConvertError(Quoted(text) + " is not a valid integer value");
  return value;
}

int StrToIntDef(std::string_view text, int fallback) {
  int value = 0;
  return ParseInt(text, value) ? value : fallback;
}

float StrToFloat(std::string_view text) {
  const auto fail = [&] {
    return ConvertError(Quoted(text) + " is not a valid floating point value");
  };
  std::size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  std::string_view body = text.substr(begin, end - begin);

  // Check the shape here: from_chars alone would take "inf" and "nan".
  std::size_t i = 0;
  bool negative = false;
  if (i < body.size() && (body[i] == '+' || body[i] == '-')) negative = body[i++] == '-';
  const std::size_t numberStart = i;
  std::size_t digits = 0;
  while (i < body.size() && IsDigit(body[i])) ++i, ++digits;
  if (i < body.size() && body[i] == '.') {
    ++i;
    while (i < body.size() && IsDigit(body[i])) ++i, ++digits;
  }
  if (digits == 0) throw fail();
  if (i < body.size() && (body[i] == 'e' || body[i] == 'E')) {
    ++i;
    if (i < body.size() && (body[i] == '+' || body[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < body.size() && IsDigit(body[i])) ++i, ++expDigits;
    if (expDigits == 0) throw fail();
  }
  if (i != body.size()) throw fail();

  double value = 0;
  const std::string_view number = body.substr(numberStart);
  const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // from_chars reports an underflow the same way as an overflow: a value too small for a double
    // is 0, one too large is caught by the range check below.
    value = DecimalMagnitude(number) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (ec != std::errc() || ptr != number.data() + number.size()) {
    throw fail();
  }
  if (!(std::fabs(value) <= FLT_MAX)) throw fail();
  const auto result = static_cast<float>(value);
  return negative ? -result : result;
}

std::string FloatToFixed(double value, int decimals, int precision) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  decimals = std::clamp(decimals, 0, 18);
  precision = std::clamp(precision, 1, 18);
  const bool negative = value < 0;
  const double a = std::fabs(value);

  double limit = 1;
  for (int k = 0; k < precision; ++k) limit *= 10;
  int intDigits = 0;
  // NOLINTNEXTLINE(cert-flp30-c): the digit count bounds the loop, not the power of ten
  for (double p = 1; p <= a && intDigits <= precision; p *= 10) ++intDigits;

  if (a < limit) {
    // Round to the decimals, or to fewer where the significant digits run out; the scaling and
    // the rounding are done in double precision, ties away from zero.
    const int d = std::min(decimals, std::max(0, precision - intDigits));
    double scale = 1;
    for (int k = 0; k < d; ++k) scale *= 10;
    const auto r = static_cast<long long>(std::round(a * scale));
    std::string digits = std::to_string(r);
    if (static_cast<int>(digits.size()) <= d)
      digits.insert(0, static_cast<std::size_t>(d) + 1 - digits.size(), '0');
    const std::size_t whole = digits.size() - static_cast<std::size_t>(d);
    if (static_cast<int>(whole) <= precision) {  // a carry may still add a digit: 999999999.6
      std::string text = (negative && r != 0) ? "-" : "";
      text += digits.substr(0, whole);
      if (decimals > 0) {
        text += '.';
        text += digits.substr(whole);
        text.append(static_cast<std::size_t>(decimals - d), '0');
      }
      return text;
    }
  }

  // Too many whole digits: exponent form with `precision` significant digits, trailing zeros cut.
  char buffer[64];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, a,
                                     std::chars_format::scientific, precision - 1);
  std::string mantissa(buffer, written.ptr);  // to_chars, unlike printf, ignores the locale
  const std::size_t e = mantissa.find('e');
  int exponent = 0;
  std::from_chars(mantissa.data() + e + 1 + (mantissa[e + 1] == '+'),
                  mantissa.data() + mantissa.size(), exponent);
  mantissa.resize(e);
  if (mantissa.find('.') != std::string::npos) {
    while (mantissa.back() == '0') mantissa.pop_back();
    if (mantissa.back() == '.') mantissa.pop_back();
  }
  return (negative ? "-" : "") + mantissa + "E" + std::to_string(exponent);
}

int TruncToInt(double value) {
  if (!(value > -2147483649.0 && value < 2147483648.0))
    throw ConvertError("Invalid floating point operation");
  return static_cast<int>(value);
}

}  // namespace morvek
