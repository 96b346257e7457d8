#include "patterns/pattern_code.h"

#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>

namespace patterns {
namespace {

constexpr char kDigits[] = "0123456789abcdefghjkmnpqrstvwxyz";
constexpr std::size_t kValueBytes = 8 + 4 * 4;
constexpr std::size_t kValueChars = (kValueBytes * 8 + 4) / 5;  // 39
constexpr std::size_t kCheckChars = 2;
static_assert(kValueChars + kCheckChars == kPatternValueChars);
// 1021 is prime and above any difference of two characters, so changing one
// character, or swapping two neighbours, always changes the sum.
constexpr unsigned kCheckModulus = 1021;

// The value of a base-32 digit, or -1.
int DigitValue(char c) {
  if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (c == 'i' || c == 'l') return 1;
  if (c == 'o') return 0;
  const char* at = std::strchr(kDigits, c);
  return c != '\0' && at ? static_cast<int>(at - kDigits) : -1;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

unsigned CheckOf(std::string_view canonical) {
  unsigned h = 0;
  for (char c : canonical) h = (h * 31 + static_cast<unsigned char>(c)) % kCheckModulus;
  return h;
}

void PutBigEndian(std::array<std::uint8_t, kValueBytes>& bytes, std::size_t at, std::uint64_t v, int n) {
  for (int i = 0; i < n; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * (n - 1 - i)));
}

std::uint64_t GetBigEndian(const std::array<std::uint8_t, kValueBytes>& bytes, std::size_t at, int n) {
  std::uint64_t v = 0;
  for (int i = 0; i < n; ++i) v = (v << 8) | bytes[at + i];
  return v;
}

std::string HexColour(Colour colour) {
  // Colour is 0x00BBGGRR; people read RRGGBB.
  const auto u = static_cast<std::uint32_t>(colour);
  const std::uint32_t rgb = ((u & 0xFFu) << 16) | (u & 0xFF00u) | ((u >> 16) & 0xFFu);
  char buf[7];
  for (int i = 0; i < 6; ++i) buf[i] = kDigits[(rgb >> (20 - 4 * i)) & 0xFu];
  buf[6] = '\0';
  return buf;
}

std::optional<Colour> ReadHexColour(std::string_view text) {
  if (text.size() != 6) return std::nullopt;
  std::uint32_t rgb = 0;
  for (char c : text) {
    const int v = DigitValue(c);
    // Only the hexadecimal digits themselves, not base 32's aliases.
    if (v < 0 || v > 15 || !std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    rgb = (rgb << 4) | static_cast<std::uint32_t>(v);
  }
  return static_cast<Colour>(((rgb & 0xFFu) << 16) | (rgb & 0xFF00u) | ((rgb >> 16) & 0xFFu));
}

std::optional<PatternCode> Fail(CodeFault* fault, CodeFault::Kind kind, std::string detail = {},
                                std::size_t number = 0) {
  if (fault) *fault = CodeFault{kind, std::move(detail), number};
  return std::nullopt;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\n' || s.front() == '\r'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\n' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

}  // namespace

bool PatternCode::SameAs(const PatternCode& o) const {
  if (drawing != o.drawing || line != o.line || background != o.background) return false;
  if (std::bit_cast<std::uint64_t>(amplitude) != std::bit_cast<std::uint64_t>(o.amplitude)) return false;
  for (std::size_t i = 0; i < randoms.size(); ++i) {
    if (std::bit_cast<std::uint32_t>(randoms[i]) != std::bit_cast<std::uint32_t>(o.randoms[i])) return false;
  }
  return true;
}

std::string WritePatternCode(const PatternCode& code) {
  std::array<std::uint8_t, kValueBytes> bytes{};
  PutBigEndian(bytes, 0, std::bit_cast<std::uint64_t>(code.amplitude), 8);
  for (std::size_t i = 0; i < 4; ++i)
    PutBigEndian(bytes, 8 + 4 * i, std::bit_cast<std::uint32_t>(code.randoms[i]), 4);

  std::string out(kPatternCodePrefix);
  out += static_cast<char>('0' + code.drawing % 10);
  out += '-' + HexColour(code.line) + '-' + HexColour(code.background) + '-';
  // Five bits at a time, most significant first; the last digit is padded
  // with zero bits.
  unsigned acc = 0;
  int bits = 0;
  for (std::uint8_t b : bytes) {
    acc = (acc << 8) | b;
    bits += 8;
    while (bits >= 5) {
      out += kDigits[(acc >> (bits - 5)) & 31u];
      bits -= 5;
    }
  }
  if (bits > 0) out += kDigits[(acc << (5 - bits)) & 31u];
  const unsigned check = CheckOf(out);
  out += kDigits[check / 32];
  out += kDigits[check % 32];
  return out;
}

std::optional<PatternCode> ReadPatternCode(std::string_view text, CodeFault* fault) {
  text = Trim(text);
  if (text.empty()) return Fail(fault, CodeFault::kEmpty);
  std::string lower;
  for (char c : text) lower += Lower(c);
  if (lower.compare(0, kPatternCodePrefix.size(), kPatternCodePrefix) != 0) {
    if (lower.size() > 4 && lower.compare(0, 3, "hwf") == 0 && lower.find('-') != std::string::npos)
      return Fail(fault, CodeFault::kUnknownVersion, lower.substr(0, lower.find('-')));
    return Fail(fault, CodeFault::kNoPrefix);
  }
  for (char c : lower) {
    if (static_cast<unsigned char>(c) < 0x21 || static_cast<unsigned char>(c) > 0x7E)
      return Fail(fault, CodeFault::kBadCharacter);
  }

  // hwf1 - drawing - line - background - values+check
  std::array<std::string_view, 5> parts;
  std::string_view rest(lower);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const std::size_t dash = i + 1 < parts.size() ? rest.find('-') : std::string_view::npos;
    if (i + 1 < parts.size() && dash == std::string_view::npos) break;
    parts[i] = rest.substr(0, dash);
    rest = dash == std::string_view::npos ? std::string_view{} : rest.substr(dash + 1);
  }
  if (parts[4].empty() || parts[4].find('-') != std::string_view::npos) return Fail(fault, CodeFault::kParts);

  PatternCode code;
  if (parts[1] != "1" && parts[1] != "2") return Fail(fault, CodeFault::kDrawing, std::string(parts[1]));
  code.drawing = parts[1][0] - '0';
  const auto line = ReadHexColour(parts[2]);
  if (!line) return Fail(fault, CodeFault::kLineColour, std::string(parts[2]));
  const auto background = ReadHexColour(parts[3]);
  if (!background) return Fail(fault, CodeFault::kBackgroundColour, std::string(parts[3]));
  code.line = *line;
  code.background = *background;

  const std::string_view values = parts[4];
  if (values.size() != kValueChars + kCheckChars)
    return Fail(fault, CodeFault::kValuesLength, {}, values.size());
  std::string canonical = lower.substr(0, lower.size() - values.size());
  std::array<int, kValueChars + kCheckChars> digits{};
  for (std::size_t i = 0; i < values.size(); ++i) {
    digits[i] = DigitValue(values[i]);
    if (digits[i] < 0) return Fail(fault, CodeFault::kValuesDigit, std::string(1, values[i]));
    if (i < kValueChars) canonical += kDigits[digits[i]];
  }
  const unsigned check = CheckOf(canonical);
  if (static_cast<unsigned>(digits[kValueChars] * 32 + digits[kValueChars + 1]) != check)
    return Fail(fault, CodeFault::kCheck);

  std::array<std::uint8_t, kValueBytes> bytes{};
  unsigned acc = 0;
  int bits = 0;
  std::size_t at = 0;
  for (std::size_t i = 0; i < kValueChars; ++i) {
    acc = (acc << 5) | static_cast<unsigned>(digits[i]);
    bits += 5;
    if (bits >= 8) {
      bytes[at++] = static_cast<std::uint8_t>(acc >> (bits - 8));
      bits -= 8;
    }
    acc &= (1u << bits) - 1;
  }
  if (acc != 0) return Fail(fault, CodeFault::kPaddingBits);

  code.amplitude = std::bit_cast<double>(GetBigEndian(bytes, 0, 8));
  if (!std::isfinite(code.amplitude)) return Fail(fault, CodeFault::kAmplitude);
  for (std::size_t i = 0; i < 4; ++i) {
    code.randoms[i] = std::bit_cast<float>(static_cast<std::uint32_t>(GetBigEndian(bytes, 8 + 4 * i, 4)));
    if (!(code.randoms[i] >= 0.0f && code.randoms[i] < 1.0f))
      return Fail(fault, CodeFault::kRandomValue, {}, i + 1);
  }
  return code;
}

std::optional<PatternCode> ReadPatternCode(std::string_view text, std::string* why) {
  CodeFault fault;
  std::optional<PatternCode> code = ReadPatternCode(text, &fault);
  if (!code && why) *why = DescribeCodeFault(fault);
  return code;
}

std::string DescribeCodeFault(const CodeFault& f) {
  switch (f.kind) {
    case CodeFault::kEmpty:
      return "the code is empty";
    case CodeFault::kUnknownVersion:
      return "'" + f.detail + "' codes are not known to this version (it reads " +
             std::string(kPatternCodePrefix.substr(0, 4)) + ")";
    case CodeFault::kNoPrefix:
      return "a pattern code starts with " + std::string(kPatternCodePrefix);
    case CodeFault::kBadCharacter:
      return "the code holds a character that is not a letter, digit or '-'";
    case CodeFault::kParts:
      return "a code has five parts joined by '-': hwf1, the drawing, the line colour, the background colour "
             "and the values";
    case CodeFault::kDrawing:
      return "the drawing must be 1 or 2, not '" + f.detail + "'";
    case CodeFault::kLineColour:
      return "the line colour must be six hexadecimal digits RRGGBB, not '" + f.detail + "'";
    case CodeFault::kBackgroundColour:
      return "the background colour must be six hexadecimal digits RRGGBB, not '" + f.detail + "'";
    case CodeFault::kValuesLength:
      return "the values part has " + std::to_string(f.number) + " characters, not " +
             std::to_string(kValueChars + kCheckChars) + ": the code was cut short or run on";
    case CodeFault::kValuesDigit:
      return "'" + f.detail + "' in the values part is not a digit of a code";
    case CodeFault::kCheck:
      return "the check characters do not match: a character was mistyped, left out or swapped";
    case CodeFault::kPaddingBits:
      return "the last character of the values has bits that no code sets";
    case CodeFault::kAmplitude:
      return "the amplitude is not a finite number";
    case CodeFault::kRandomValue:
      return "random value " + std::to_string(f.number) + " lies outside [0, 1)";
  }
  return "the code is not a pattern code";
}

std::string ColourText(Colour colour) {
  std::string hex = HexColour(colour);
  for (char& c : hex) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return '#' + hex;
}

std::string AmplitudeText(double amplitude) {
  char buf[32];
  const auto res = std::to_chars(buf, buf + sizeof buf, amplitude);
  return std::string(buf, res.ptr);
}

}  // namespace patterns
