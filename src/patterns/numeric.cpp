#include "patterns/numeric.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

#include "patterns/runtime_error.h"

namespace patterns {
namespace {

// Exact, and independent of the floating-point rounding mode: modf splits a
// double into integral and fractional parts without rounding.
double RoundHalfEven(double v) {
  double whole = 0.0;
  const double frac = std::modf(v, &whole);
  const double mag = std::fabs(frac);
  const double away = whole + (v < 0 ? -1.0 : 1.0);
  if (mag > 0.5) return away;
  if (mag < 0.5) return whole;
  return std::fmod(whole, 2.0) == 0.0 ? whole : away;
}

template <typename T>
T RoundToInteger(double v, double lo, double hi) {
  if (std::isnan(v)) Raise(kErrOverflow);
  const double r = RoundHalfEven(v);
  if (r < lo || r > hi) Raise(kErrOverflow);
  return static_cast<T>(r);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double Int(double v) { return std::floor(v); }

std::int16_t CInt(double v) { return RoundToInteger<std::int16_t>(v, -32768.0, 32767.0); }

std::int32_t CLng(double v) { return RoundToInteger<std::int32_t>(v, -2147483648.0, 2147483647.0); }

float CSng(double v) {
  if (!std::isfinite(v)) Raise(kErrOverflow);
  const double mag = std::fabs(v);
  if (mag <= static_cast<double>(FLT_MAX)) return static_cast<float>(v);
  // Between FLT_MAX and the midpoint to 2^128 round-to-nearest still gives
  // FLT_MAX; at the midpoint the tie goes to the even neighbour 2^128, which
  // is infinity. The cast itself would be undefined out here, so do it by hand.
  const double midpoint = std::ldexp(1.0, 128) - std::ldexp(1.0, 103);
  if (mag < midpoint) return v < 0 ? -FLT_MAX : FLT_MAX;
  Raise(kErrOverflow);
}

Colour RGB(int red, int green, int blue) {
  if (red < 0 || green < 0 || blue < 0) Raise(kErrInvalidProcedureCall);
  red = std::min(red, 255);
  green = std::min(green, 255);
  blue = std::min(blue, 255);
  return red + green * 256 + blue * 65536;
}

Colour QBColor(int index) {
  static constexpr Colour kTable[16] = {
      0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
      0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
  };
  if (index < 0 || index > 15) Raise(kErrInvalidProcedureCall);
  return kTable[index];
}

double TextToDouble(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  std::string_view s = text.substr(b, e - b);

  // Validate the whole grammar first, so that from_chars never gets to accept
  // a prefix of something we reject (it would take "1e" as 1, "inf" as inf).
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  const std::size_t mantissa_start = i;
  std::size_t int_digits = 0, frac_digits = 0;
  std::size_t first_nonzero = std::string_view::npos, point = std::string_view::npos;
  for (; i < s.size(); ++i) {
    if (IsDigit(s[i])) {
      if (first_nonzero == std::string_view::npos && s[i] != '0') first_nonzero = i;
      (point == std::string_view::npos ? int_digits : frac_digits)++;
    } else if (s[i] == '.' && point == std::string_view::npos) {
      point = i;
    } else {
      break;
    }
  }
  if (int_digits + frac_digits == 0) Raise(kErrTypeMismatch);
  const std::size_t mantissa_end = i;
  long long exponent = 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    bool exp_negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) exp_negative = s[i++] == '-';
    std::size_t exp_digits = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i, ++exp_digits) {
      // Saturate: anything this large is out of range either way.
      exponent = std::min<long long>(exponent * 10 + (s[i] - '0'), 1000000000LL);
    }
    if (exp_digits == 0) Raise(kErrTypeMismatch);
    if (exp_negative) exponent = -exponent;
  }
  if (i != s.size()) Raise(kErrTypeMismatch);
  if (first_nonzero == std::string_view::npos) return negative ? -0.0 : 0.0;

  std::string_view unsigned_part = s.substr(mantissa_start);
  double value = 0.0;
  const auto res = std::from_chars(unsigned_part.data(), unsigned_part.data() + unsigned_part.size(), value,
                                   std::chars_format::general);
  if (res.ec == std::errc::result_out_of_range) {
    // Decimal exponent of the leading digit tells overflow from underflow;
    // the two lie hundreds of decades apart, so this estimate is enough.
    const std::size_t int_end = point == std::string_view::npos ? mantissa_end : point;
    const long long lead = first_nonzero < int_end ? static_cast<long long>(int_end - first_nonzero) - 1
                                                   : -static_cast<long long>(first_nonzero - int_end);
    if (lead + exponent > 0) Raise(kErrOverflow);
    return negative ? -0.0 : 0.0;
  }
  if (res.ec != std::errc() || res.ptr != unsigned_part.data() + unsigned_part.size()) {
    Raise(kErrTypeMismatch);
  }
  if (std::isinf(value)) Raise(kErrOverflow);
  return negative ? -value : value;
}

}  // namespace patterns
