// Number rules of the pattern code: integer part, the rounding conversions to
// 16-bit, 32-bit and single, the two colour functions and the conversion of
// typed text to a number. Every conversion that cannot represent its result
// raises RuntimeError instead of wrapping or saturating.
#pragma once

#include <cstdint>
#include <string_view>

namespace patterns {

// 0x00BBGGRR, red in the low byte.
using Colour = std::int32_t;

// Largest integral value not above v, keeping the floating type.
double Int(double v);

// Round to nearest, halfway to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2), then
// range-check; NaN, infinities and out-of-range results raise overflow (6).
std::int16_t CInt(double v);
std::int32_t CLng(double v);

// Nearest single. A finite value that rounds to the largest single is
// accepted; anything that would round to infinity, and NaN, raise overflow.
float CSng(double v);

// red + green * 256 + blue * 65536. A component above 255 counts as 255; a
// negative one raises invalid procedure call (5).
Colour RGB(int red, int green, int blue);

// The classic 16-colour table; numbers outside 0..15 raise error 5.
Colour QBColor(int index);

// Text typed by the user -> double. Accepted, with blanks (space, tab)
// around it: an optional sign '+' or '-', decimal digits with at most one '.'
// (".5" and "5." are fine, a lone "." is not), and an optional exponent
// 'e'/'E' with optional sign and at least one digit. Everything else raises
// type mismatch (13): the empty text, thousands separators ("1,000"), hex
// ("&H10"), words like "inf" or "nan", embedded blanks. A well-formed number
// beyond the double range raises overflow (6); one below it becomes zero.
double TextToDouble(std::string_view text);

}  // namespace patterns
