// Fuzzes the amplitude text of Combo1 on its way to a number and into a
// pattern.
//
// TextToDouble either returns a finite double or raises type mismatch (13) or
// overflow (6); nothing else may come out. Each verdict is checked against an
// independent oracle: a regular expression for the accepted grammar and the
// C library's strtod for the value (both round correctly, so they must agree
// to the bit, up to the flush of values below the double range to zero).
// Accepted texts then drive one "画图1" on a recording surface: it completes
// with finite coordinates or fails with overflow, and only for an amplitude
// that can push a coordinate beyond the single range.
//
// Input: byte 0 picks the four random values of the pattern, the rest is the
// text.
#include <cerrno>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <regex>
#include <string>

#include "patterns/curve_pattern.h"
#include "patterns/numeric.h"
#include "patterns/runtime_error.h"
#include "support/doubles/recording_surface.h"
#include "support/doubles/scripted_random.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& text) {
  std::fprintf(stderr, "amplitude_fuzz: %s for text \"", what);
  for (unsigned char c : text) std::fprintf(stderr, c >= 0x20 && c < 0x7F ? "%c" : "\\x%02x", c);
  std::fprintf(stderr, "\"\n");
  std::abort();
}

// libstdc++'s regex recurses per character; longer texts skip the grammar
// oracle (the value oracle still runs).
constexpr std::size_t kRegexLimit = 400;

bool MatchesGrammar(const std::string& text) {
  static const std::regex kNumber(R"([ \t]*[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?[ \t]*)");
  return std::regex_match(text, kNumber);
}

struct Parsed {
  std::optional<double> value;
  int error = 0;
};

Parsed Convert(const std::string& text) {
  try {
    const double v = patterns::TextToDouble(text);
    return {v, 0};
  } catch (const patterns::RuntimeError& e) {
    if (e.Number() != patterns::kErrTypeMismatch && e.Number() != patterns::kErrOverflow)
      Fail("unexpected error number", text);
    return {std::nullopt, e.Number()};
  }
}

void CheckValue(const std::string& text, double v) {
  if (!std::isfinite(v)) Fail("non-finite result", text);
  // The accepted grammar is a subset of strtod's, so strtod reads all of it.
  std::size_t b = 0, e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
  const std::string trimmed = text.substr(b, e - b);
  errno = 0;
  char* end = nullptr;
  const double ref = std::strtod(trimmed.c_str(), &end);
  if (end != trimmed.c_str() + trimmed.size()) Fail("accepted text that strtod does not read whole", text);
  if (std::isinf(ref)) Fail("accepted a value beyond the double range", text);
  const bool flushed = v == 0.0 && std::fabs(ref) < DBL_MIN;
  if (std::memcmp(&v, &ref, sizeof v) != 0 && !(flushed && std::signbit(v) == std::signbit(ref)))
    Fail("value differs from strtod", text);
}

void CheckOverflow(const std::string& text) {
  errno = 0;
  char* end = nullptr;
  const double ref = std::strtod(text.c_str(), &end);
  if (!std::isinf(ref)) Fail("overflow raised for a value strtod can represent", text);
}

// One "画图1" with the amplitude: finite points or overflow, nothing else.
void DrawWith(const std::string& text, double k, std::uint8_t seed) {
  using patterns::testing::RecordingSurface;
  RecordingSurface picpaint({201, 201, 201, 201, 13}, 0x80FF80);
  RecordingSurface other({3015, 3015, 201, 201, 300}, 0xF0F0F0);
  const float quarter = static_cast<float>(seed & 3) / 4.0f;
  const float r2 = static_cast<float>((seed >> 2) & 7) / 8.0f;
  patterns::testing::ScriptedRandom rnd{quarter, r2, (seed & 0x20) ? 0.75f : 0.25f,
                                        (seed & 0x40) ? 0.9f : 0.1f};
  patterns::PatternContext ctx{.picpaint = picpaint,
                               .Picture1 = other,
                               .Picture2 = other,
                               .Picture3 = other,
                               .amplitudeText = [&] { return text; },
                               .rnd = rnd,
                               .clock = [] { return patterns::LocalDateTime{2026, 12, 7, 14, 3, 5}; },
                               .icolor = 0x123456};
  bool overflow = false;
  try {
    patterns::DrawCurvePattern1(ctx);
  } catch (const patterns::RuntimeError& e) {
    if (e.Number() != patterns::kErrOverflow) Fail("the pattern raised something other than overflow", text);
    overflow = true;
  }
  // A point is 100 +/- (|t| + |K|) at most, with |t| <= 90 and every factor
  // at most 1 in size, so overflow needs |K| near the single range.
  if (overflow && std::fabs(k) < 1e38) Fail("overflow for an amplitude well inside the single range", text);
  for (const auto& c : picpaint.Calls())
    if (!std::isfinite(c.x) || !std::isfinite(c.y)) Fail("non-finite point drawn", text);
  if (!overflow && other.Count(patterns::testing::Op::kSetPicture) != 1)
    Fail("a completed pattern did not reach Picture2", text);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::setlocale(LC_ALL, "C");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t seed = data[0];
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

  const Parsed p = Convert(text);
  if (text.size() <= kRegexLimit) {
    const bool grammar = MatchesGrammar(text);
    if (grammar && p.error == patterns::kErrTypeMismatch) Fail("well-formed number refused", text);
    if (!grammar && p.error != patterns::kErrTypeMismatch) Fail("malformed text accepted", text);
  }
  if (p.value) {
    CheckValue(text, *p.value);
    // The same text with a minus in front is the negated value.
    if (text.find_first_not_of(" \t") != std::string::npos) {
      const std::size_t at = text.find_first_not_of(" \t");
      if (text[at] != '+' && text[at] != '-') {
        std::string neg = text;
        neg.insert(at, 1, '-');
        const Parsed n = Convert(neg);
        if (!n.value || *n.value != -*p.value || std::signbit(*n.value) == std::signbit(*p.value))
          Fail("a leading minus does not negate", text);
      }
    }
    DrawWith(text, *p.value, seed);
  } else if (p.error == patterns::kErrOverflow) {
    CheckOverflow(text);
  }
  return 0;
}
