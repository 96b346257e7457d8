#include "patterns/numeric.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "patterns/runtime_error.h"

namespace patterns {
namespace {

template <typename F>
int ErrorOf(F&& f) {
  try {
    f();
  } catch (const RuntimeError& e) {
    return e.Number();
  }
  return 0;
}

TEST(Rounding, HalfwayGoesToTheEvenNeighbour) {
  EXPECT_EQ(CInt(2.5), 2);
  EXPECT_EQ(CInt(3.5), 4);
  EXPECT_EQ(CInt(0.5), 0);
  EXPECT_EQ(CInt(-2.5), -2);
  EXPECT_EQ(CInt(-0.5), 0);
  EXPECT_EQ(CInt(-3.5), -4);
  EXPECT_EQ(CInt(254.5), 254);
  EXPECT_EQ(CInt(253.5), 254);
  EXPECT_EQ(CInt(127.5), 128);
  EXPECT_EQ(CInt(117.5), 118);
  // Off the midpoint by the smallest step, plain nearest rounding applies.
  EXPECT_EQ(CInt(std::nextafter(2.5, 3.0)), 3);
  EXPECT_EQ(CInt(std::nextafter(3.5, 3.0)), 3);
  EXPECT_EQ(CInt(-2.4), -2);
  EXPECT_EQ(CInt(-2.6), -3);
  EXPECT_EQ(CLng(2.5), 2);
  EXPECT_EQ(CLng(-1.5), -2);
  EXPECT_EQ(CLng(3015.0), 3015);
}

TEST(Rounding, SixteenBitLimits) {
  EXPECT_EQ(CInt(32767.0), 32767);
  EXPECT_EQ(CInt(32767.4), 32767);
  EXPECT_EQ(CInt(-32768.0), -32768);
  EXPECT_EQ(CInt(-32768.5), -32768);                        // the even neighbour is still in range
  EXPECT_EQ(ErrorOf([] { CInt(32767.5); }), kErrOverflow);  // rounds to 32768
  EXPECT_EQ(ErrorOf([] { CInt(32768.0); }), kErrOverflow);
  EXPECT_EQ(ErrorOf([] { CInt(-32768.6); }), kErrOverflow);
  EXPECT_EQ(ErrorOf([] { CInt(-32769.0); }), kErrOverflow);
  EXPECT_EQ(ErrorOf([] { CInt(1e300); }), kErrOverflow);
  EXPECT_EQ(ErrorOf([] { CInt(std::numeric_limits<double>::quiet_NaN()); }), kErrOverflow);
  EXPECT_EQ(ErrorOf([] { CInt(-std::numeric_limits<double>::infinity()); }), kErrOverflow);
}

TEST(Rounding, ThirtyTwoBitLimits) {
  EXPECT_EQ(CLng(2147483647.0), 2147483647);
  EXPECT_EQ(CLng(2147483646.5), 2147483646);
  EXPECT_EQ(CLng(-2147483648.5), -2147483647 - 1);
  EXPECT_EQ(ErrorOf([] { CLng(2147483647.5); }), kErrOverflow);
  EXPECT_EQ(ErrorOf([] { CLng(-2147483649.0); }), kErrOverflow);
}

TEST(Rounding, OverflowCarriesNumberAndChineseMessage) {
  try {
    CInt(40000.0);
    FAIL() << "no error raised";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 6);
    EXPECT_EQ(e.Message(), "溢出");
  }
  EXPECT_EQ(ErrorMessage(13), "类型不匹配");
}

TEST(Single, RoundsToNearestAndOverflowsOnlyPastTheLargestSingle) {
  EXPECT_EQ(CSng(0.1), 0.1f);
  EXPECT_EQ(CSng(91.6946), 91.6946f);
  EXPECT_EQ(CSng(-1e-50), -0.0f);
  EXPECT_EQ(CSng(static_cast<double>(FLT_MAX)), FLT_MAX);
  EXPECT_EQ(CSng(-static_cast<double>(FLT_MAX)), -FLT_MAX);
  // Above FLT_MAX but closer to it than to 2^128: nearest rounding gives FLT_MAX.
  const double midpoint = std::ldexp(1.0, 128) - std::ldexp(1.0, 103);
  EXPECT_EQ(CSng(std::nextafter(static_cast<double>(FLT_MAX), 1e300)), FLT_MAX);
  EXPECT_EQ(CSng(std::nextafter(midpoint, 0.0)), FLT_MAX);
  EXPECT_EQ(CSng(-std::nextafter(midpoint, 0.0)), -FLT_MAX);
  // The midpoint itself ties to the even neighbour 2^128, which is out of range.
  EXPECT_EQ(ErrorOf([&] { CSng(midpoint); }), kErrOverflow);
  EXPECT_EQ(ErrorOf([] { CSng(1e39); }), kErrOverflow);
  EXPECT_EQ(ErrorOf([] { CSng(-1e39); }), kErrOverflow);
  EXPECT_EQ(ErrorOf([] { CSng(std::numeric_limits<double>::infinity()); }), kErrOverflow);
  EXPECT_EQ(ErrorOf([] { CSng(std::numeric_limits<double>::quiet_NaN()); }), kErrOverflow);
}

TEST(IntegerPart, IsTheFloor) {
  EXPECT_EQ(Int(2.7), 2.0);
  EXPECT_EQ(Int(-2.5), -3.0);
  EXPECT_EQ(Int(-0.1), -1.0);
  EXPECT_EQ(Int(3.0), 3.0);
  EXPECT_EQ(Int(4.0 * 0.99999994f), 3.0);
}

TEST(Colours, RgbPacksRedLowAndQbColorFollowsTheClassicTable) {
  EXPECT_EQ(RGB(255, 0, 0), 0x0000FF);
  EXPECT_EQ(RGB(0, 255, 0), 0x00FF00);
  EXPECT_EQ(RGB(0, 0, 255), 0xFF0000);
  EXPECT_EQ(RGB(128, 255, 128), 0x80FF80);
  EXPECT_EQ(RGB(1, 2, 3), 1 + 2 * 256 + 3 * 65536);
  EXPECT_EQ(RGB(300, 0, 256), 0xFF00FF);  // components above 255 count as 255
  EXPECT_EQ(ErrorOf([] { RGB(-1, 0, 0); }), kErrInvalidProcedureCall);

  EXPECT_EQ(QBColor(0), 0);
  EXPECT_EQ(QBColor(4), 0x000080);  // dark red: red is the low byte
  EXPECT_EQ(QBColor(9), 0xFF0000);  // light blue
  EXPECT_EQ(QBColor(15), 0xFFFFFF);
  EXPECT_EQ(ErrorOf([] { QBColor(16); }), kErrInvalidProcedureCall);
  EXPECT_EQ(ErrorOf([] { QBColor(-1); }), kErrInvalidProcedureCall);
}

}  // namespace
}  // namespace patterns
