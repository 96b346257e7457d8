#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

#include "patterns/numeric.h"
#include "patterns/runtime_error.h"

namespace patterns {
namespace {

int ErrorOf(const std::string& text) {
  try {
    TextToDouble(text);
  } catch (const RuntimeError& e) {
    return e.Number();
  }
  return 0;
}

TEST(TextToDouble, AcceptsSignedDecimalsWithExponentAndBlanks) {
  EXPECT_EQ(TextToDouble("80"), 80.0);
  EXPECT_EQ(TextToDouble(" 80 "), 80.0);
  EXPECT_EQ(TextToDouble("\t 80\t"), 80.0);
  EXPECT_EQ(TextToDouble("-80"), -80.0);
  EXPECT_EQ(TextToDouble("+80"), 80.0);
  EXPECT_EQ(TextToDouble("7200"), 7200.0);
  EXPECT_EQ(TextToDouble("0"), 0.0);
  EXPECT_EQ(TextToDouble("007"), 7.0);
  EXPECT_EQ(TextToDouble("1.5"), 1.5);
  EXPECT_EQ(TextToDouble(".5"), 0.5);
  EXPECT_EQ(TextToDouble("5."), 5.0);
  EXPECT_EQ(TextToDouble("1e3"), 1000.0);
  EXPECT_EQ(TextToDouble("1E+3"), 1000.0);
  EXPECT_EQ(TextToDouble("25e-1"), 2.5);
  EXPECT_EQ(TextToDouble("-.25E1"), -2.5);
  EXPECT_EQ(TextToDouble("0.1"), 0.1);
  EXPECT_EQ(TextToDouble("1.7976931348623157e308"), DBL_MAX);
  EXPECT_TRUE(std::signbit(TextToDouble("-0")));
}

TEST(TextToDouble, AnythingElseIsATypeMismatch) {
  for (const char* text :
       {"",    " ",   "\t\t",     "abc",   "80a",  "a80",  "8 0",  "1,000", "&H10", "&h1F",
        "inf", "nan", "Infinity", ".",     "-",    "+",    "+-1",  "--1",   "1..2", "1.2.3",
        "1e",  "1e+", "e5",       "1e5.0", "0x10", "８０", "80\n", "八十"}) {
    EXPECT_EQ(ErrorOf(text), kErrTypeMismatch) << '"' << text << '"';
  }
}

TEST(TextToDouble, BeyondTheDoubleRangeOverflowsAndTinyValuesBecomeZero) {
  EXPECT_EQ(ErrorOf("1e309"), kErrOverflow);
  EXPECT_EQ(ErrorOf("-1e400"), kErrOverflow);
  EXPECT_EQ(ErrorOf("1.8e308"), kErrOverflow);
  EXPECT_EQ(ErrorOf("1" + std::string(400, '0')), kErrOverflow);
  EXPECT_EQ(ErrorOf("0.0001e99999999999999999999"), kErrOverflow);
  EXPECT_EQ(TextToDouble("1e-400"), 0.0);
  EXPECT_EQ(TextToDouble("0." + std::string(400, '0') + "1"), 0.0);
  EXPECT_EQ(TextToDouble("1000e-99999999999999999999"), 0.0);
  EXPECT_EQ(TextToDouble("0e999999"), 0.0);
}

}  // namespace
}  // namespace patterns
