// Pattern codes: exact round trips at the edges of every value, the text's
// shape, reading in any case, and a message for each way a code can be wrong.
#include "patterns/pattern_code.h"

#include <gtest/gtest.h>

#include <bit>
#include <cctype>
#include <cfloat>
#include <cmath>
#include <limits>

#include "pattern_fixture.h"

namespace patterns {
namespace {

PatternCode Sample() {
  return PatternCode{.drawing = 2,
                     .amplitude = 80.0,
                     .randoms = {0.25f, 0.5f, 0.75f, 0.125f},
                     .line = 0x00123456,
                     .background = 0x0080FF80};
}

std::string Why(std::string_view text) {
  std::string why;
  EXPECT_FALSE(ReadPatternCode(text, &why).has_value()) << text;
  return why;
}

TEST(PatternCode, RoundTripsBitForBitAtTheEdges) {
  const double amplitudes[] = {80.0,   -80.0,   0.0,      -0.0,    7200.0,
                               1e-300, DBL_MAX, -DBL_MAX, DBL_MIN, std::numeric_limits<double>::denorm_min(),
                               0.1,    -1e300};
  const std::array<float, 4> randoms[] = {
      {0.0f, 0.0f, 0.0f, 0.0f},
      {kAlmostOne, kAlmostOne, kAlmostOne, kAlmostOne},
      {0.1f, 1e-30f, std::numeric_limits<float>::denorm_min(), 0.5f},
  };
  const Colour colours[] = {0, 0x00FFFFFF, 0x00010203};
  for (double k : amplitudes) {
    for (const auto& r : randoms) {
      for (Colour c : colours) {
        for (int drawing : {1, 2}) {
          const PatternCode code{
              .drawing = drawing, .amplitude = k, .randoms = r, .line = c, .background = 0xFFFFFF - c};
          const std::string text = WritePatternCode(code);
          std::string why;
          const auto back = ReadPatternCode(text, &why);
          ASSERT_TRUE(back.has_value()) << text << ": " << why;
          EXPECT_TRUE(back->SameAs(code)) << text;
        }
      }
    }
  }
}

TEST(PatternCode, IsShortLowerCaseAsciiWithItsPartsReadable) {
  const std::string text = WritePatternCode(Sample());
  EXPECT_EQ(text.size(), kPatternCodeLength);
  EXPECT_LE(text.size(), 64u);
  EXPECT_EQ(text.rfind("hwf1-2-563412-80ff80-", 0), 0u)
      << text << ": drawing, then RRGGBB line and background";
  for (char c : text) {
    EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || c == '-') << text;
  }
  // A different value gives a different code; the same values the same code.
  PatternCode other = Sample();
  other.randoms[3] = std::nextafter(0.125f, 1.0f);
  EXPECT_NE(WritePatternCode(other), text);
  EXPECT_EQ(WritePatternCode(Sample()), text);
}

TEST(PatternCode, ReadsInAnyCaseWithBlanksAroundAndTheDigitsLettersAreMistakenFor) {
  const std::string text = WritePatternCode(Sample());
  std::string upper = text;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  ASSERT_TRUE(ReadPatternCode(upper).has_value());
  EXPECT_TRUE(ReadPatternCode(upper)->SameAs(Sample()));
  EXPECT_TRUE(ReadPatternCode("  " + text + "\n")->SameAs(Sample()));

  // In the values, 'i' and 'l' stand for 1 and 'o' for 0.
  PatternCode ones = Sample();
  ones.amplitude = std::bit_cast<double>(0x0842108421084210ULL);  // 5-bit groups of 00001
  ones.randoms = {0.0f, 0.0f, 0.5f, 0.0f};
  std::string typed = WritePatternCode(ones);
  int replaced = 0;
  const char ones_as[] = {'i', 'L', 'l', 'I'};
  for (std::size_t i = typed.rfind('-') + 1; i + 2 < typed.size(); ++i) {
    if (typed[i] == '1')
      typed[i] = ones_as[replaced++ % 4];
    else if (typed[i] == '0')
      typed[i] = (replaced++ % 2) ? 'o' : 'O';
  }
  EXPECT_GT(replaced, 20);
  ASSERT_TRUE(ReadPatternCode(typed).has_value()) << typed;
  EXPECT_TRUE(ReadPatternCode(typed)->SameAs(ones));
}

TEST(PatternCode, MalformedCodesSayWhatIsWrong) {
  const std::string good = WritePatternCode(Sample());
  const std::string values = good.substr(good.rfind('-') + 1);
  EXPECT_EQ(Why(""), "the code is empty");
  EXPECT_NE(Why("pattern-1").find("starts with hwf1-"), std::string::npos);
  EXPECT_NE(Why("hwf2-" + good.substr(5)).find("'hwf2' codes are not known"), std::string::npos);
  EXPECT_NE(Why("hwf1-1-000000-80ff80").find("five parts"), std::string::npos);
  EXPECT_NE(Why("hwf1-3-000000-80ff80-" + values).find("drawing must be 1 or 2, not '3'"), std::string::npos);
  EXPECT_NE(Why("hwf1-1-00000g-80ff80-" + values).find("line colour"), std::string::npos);
  EXPECT_NE(Why("hwf1-1-000000-80ff8-" + values).find("background colour"), std::string::npos);
  EXPECT_NE(Why("hwf1-1-000000-80ff80-" + values.substr(1)).find("cut short"), std::string::npos);
  EXPECT_NE(Why("hwf1-1-000000-80ff80-" + values + "-x").find("five parts"), std::string::npos);
  std::string u = good;
  u[30] = 'u';
  EXPECT_NE(Why(u).find("'u' in the values part"), std::string::npos);
  std::string blank = good;
  blank[30] = ' ';
  EXPECT_NE(Why(blank).find("not a letter, digit or '-'"), std::string::npos);
}

TEST(PatternCode, FaultsNameTheirKindAndThePartAtFault) {
  const std::string good = WritePatternCode(Sample());
  const std::string values = good.substr(good.rfind('-') + 1);
  auto faultOf = [](const std::string& text) {
    CodeFault f{.kind = CodeFault::kEmpty, .detail = "unset", .number = 99};
    EXPECT_FALSE(ReadPatternCode(text, &f).has_value()) << text;
    return f;
  };
  CodeFault f = faultOf("hwf7-" + good.substr(5));
  EXPECT_EQ(f.kind, CodeFault::kUnknownVersion);
  EXPECT_EQ(f.detail, "hwf7");
  f = faultOf("HWF1-1-00000G-80ff80-" + values);
  EXPECT_EQ(f.kind, CodeFault::kLineColour);
  EXPECT_EQ(f.detail, "00000g") << "as read, in lower case";
  f = faultOf("hwf1-1-000000-80ff80-" + values + "zz");
  EXPECT_EQ(f.kind, CodeFault::kValuesLength);
  EXPECT_EQ(f.number, kPatternValueChars + 2);
  std::string mistyped = good;
  mistyped[40] = mistyped[40] == '0' ? '1' : '0';
  EXPECT_EQ(faultOf(mistyped).kind, CodeFault::kCheck);
  EXPECT_EQ(faultOf(" \t\n").kind, CodeFault::kEmpty);
  CodeFault untouched{.kind = CodeFault::kCheck, .detail = "kept", .number = 7};
  EXPECT_TRUE(ReadPatternCode(good, &untouched).has_value());
  EXPECT_EQ(untouched.detail, "kept") << "a good code leaves the fault alone";
}

TEST(PatternCode, TheCheckCatchesEveryMistypedCharacterAndEverySwap) {
  const std::string good = WritePatternCode(Sample());
  const std::string digits = "0123456789abcdefghjkmnpqrstvwxyz";
  const std::size_t values = good.rfind('-') + 1;
  int tried = 0;
  for (std::size_t i = values; i < good.size(); ++i) {
    for (char d : digits) {
      if (d == good[i]) continue;
      std::string bad = good;
      bad[i] = d;
      ASSERT_FALSE(ReadPatternCode(bad).has_value()) << bad;
      ++tried;
    }
    if (i + 1 < good.size() && good[i] != good[i + 1]) {
      std::string swapped = good;
      std::swap(swapped[i], swapped[i + 1]);
      ASSERT_NE(Why(swapped).find("check characters do not match"), std::string::npos) << swapped;
    }
  }
  EXPECT_EQ(tried, 41 * 31);
  // The colours and the drawing are covered by the check too.
  std::string colour = good;
  colour[8] = colour[8] == '0' ? '1' : '0';
  EXPECT_NE(Why(colour).find("check characters do not match"), std::string::npos);
}

TEST(PatternCode, ValuesNoPatternCanHaveAreRefused) {
  PatternCode one = Sample();
  one.randoms[2] = 1.0f;
  EXPECT_EQ(Why(WritePatternCode(one)), "random value 3 lies outside [0, 1)");
  PatternCode negative = Sample();
  negative.randoms[0] = -0.5f;
  EXPECT_EQ(Why(WritePatternCode(negative)), "random value 1 lies outside [0, 1)");
  PatternCode nan = Sample();
  nan.randoms[1] = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(Why(WritePatternCode(nan)), "random value 2 lies outside [0, 1)");
  PatternCode inf = Sample();
  inf.amplitude = -std::numeric_limits<double>::infinity();
  EXPECT_EQ(Why(WritePatternCode(inf)), "the amplitude is not a finite number");
}

TEST(PatternCode, TextsForTables) {
  EXPECT_EQ(ColourText(0x00123456), "#563412");
  EXPECT_EQ(ColourText(0), "#000000");
  EXPECT_EQ(AmplitudeText(80.0), "80");
  EXPECT_EQ(AmplitudeText(-0.0), "-0");
  EXPECT_EQ(AmplitudeText(1e300), "1e+300");
  EXPECT_EQ(std::stod(AmplitudeText(0.1)), 0.1);
}

}  // namespace
}  // namespace patterns
