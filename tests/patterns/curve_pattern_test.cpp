#include "patterns/curve_pattern.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "pattern_fixture.h"
#include "patterns/random_source.h"
#include "patterns/runtime_error.h"

namespace patterns {
namespace {

using testing::Op;
using testing::SurfaceCall;

// Random values that pick the formula row q, f = 2 x R2, n and L.
constexpr float kQ0 = 0.0f, kQ2 = 0.5f, kF1 = 0.5f, kN2 = 0.0f, kN3 = 0.5f, kLMin = 0.0f;

int ErrorOf(PatternFixture& fx, void (*click)(PatternContext&)) {
  try {
    click(fx.ctx);
  } catch (const RuntimeError& e) {
    return e.Number();
  }
  return 0;
}

TEST(CurvePattern, WorkedExampleFirstCurve) {
  PatternFixture fx({kQ0, kF1, kN2, kLMin}, "80");
  DrawCurvePattern1(fx.ctx);

  const auto& calls = fx.picpaint.Calls();
  ASSERT_GE(calls.size(), 62u);
  EXPECT_EQ(calls[0].op, Op::kCls);

  // t = -90: theta = 0, r = 0, a black dot at (190, 100).
  EXPECT_EQ(calls[1].op, Op::kPSet);
  EXPECT_EQ(calls[1].x, 190.0f);
  EXPECT_EQ(calls[1].y, 100.0f);
  EXPECT_EQ(calls[1].colour, 0);

  // t = -87: theta = 6 x 3.14 / 180, r = -80 sin(theta) cos(theta) = -8.31.
  const double th1 = 6 * 3.14 / 180;
  EXPECT_EQ(calls[2].op, Op::kLine);
  EXPECT_EQ(calls[2].colour, 0x123456);
  EXPECT_EQ(calls[2].x, 187.0f);
  EXPECT_EQ(calls[2].y, static_cast<float>(100.0 - 80.0 * std::sin(th1) * std::cos(th1)));
  EXPECT_NEAR(calls[2].y, 91.69, 0.005);

  // t = 0 (the 31st point): theta = 3.14, and sin 3.14 is not quite 0.
  EXPECT_EQ(calls[31].x, 100.0f);
  EXPECT_EQ(calls[31].y, static_cast<float>(100.0 - 80.0 * std::sin(3.14) * std::cos(3.14)));
  EXPECT_NEAR(calls[31].y, 100.13, 0.005);

  // t = 90 (the 61st point) ends the curve at theta = 6.28.
  EXPECT_EQ(calls[61].op, Op::kLine);
  EXPECT_EQ(calls[61].x, 10.0f);
  EXPECT_EQ(calls[61].y, static_cast<float>(100.0 - 80.0 * std::sin(6.28) * std::cos(6.28)));
  EXPECT_NEAR(calls[61].y, 100.25, 0.005);
}

TEST(CurvePattern, EachAngleDrawsFourCurvesInPassThenSignOrder) {
  PatternFixture fx({kQ0, kF1, kN2, kLMin}, "80");
  DrawCurvePattern1(fx.ctx);
  const auto pts = Points(fx.picpaint);
  const double th1 = 6 * 3.14 / 180;
  const float r1 = static_cast<float>(80.0 * std::sin(th1) * std::cos(th1));

  // Every curve: one black dot, then 60 segments in icolor.
  for (std::size_t i = 0; i < pts.size(); ++i) {
    const bool first = i % 61 == 0;
    ASSERT_EQ(pts[i].op, first ? Op::kPSet : Op::kLine) << i;
    ASSERT_EQ(pts[i].colour, first ? 0 : 0x123456) << i;
  }
  // Pass 1, sign +1: mirrored across the horizontal axis.
  EXPECT_EQ(pts[61].x, 190.0f);
  EXPECT_EQ(pts[61].y, 100.0f);
  EXPECT_FLOAT_EQ(pts[62].y, 100.0f + r1);
  // Pass 2 swaps the roles of t and r: the curve stands upright.
  EXPECT_EQ(pts[122].x, 100.0f);
  EXPECT_EQ(pts[122].y, 10.0f);
  EXPECT_FLOAT_EQ(pts[123].x, 100.0f + r1);
  EXPECT_EQ(pts[123].y, 13.0f);
  EXPECT_EQ(pts[183].x, 100.0f);
  EXPECT_FLOAT_EQ(pts[184].x, 100.0f - r1);

  // The second angle is 1.57: the first point (-90, 0) turns almost onto the
  // upright axis, to (-90 cos 1.57, -90 sin 1.57).
  EXPECT_NEAR(pts[244].x, 100.0 + 90 * std::cos(1.57), 1e-4);
  EXPECT_NEAR(pts[244].y, 100.0 - 90 * std::sin(1.57), 1e-4);
  EXPECT_NEAR(pts[244].x, 100.07, 0.005);

  // After drawing, Picture2 takes exactly the canvas's final image.
  const auto& calls = fx.picpaint.Calls();
  ASSERT_EQ(calls.back().op, Op::kImage);
  ASSERT_EQ(fx.picture2.Calls().size(), 1u);
  EXPECT_EQ(fx.picture2.Calls()[0].op, Op::kSetPicture);
  EXPECT_TRUE(fx.picture2.Calls()[0].picture.SameImageAs(calls.back().picture));
  EXPECT_EQ(fx.rnd.Remaining(), 0u);
}

struct AngleCase {
  float r3, r4;
  std::size_t angles;
};

TEST(CurvePattern, AngleCountsAtTheExtremesOfTheRotationLimit) {
  // n = 2: 0 .. 6.28 gives 5 copies, up to 7.85 gives 6; n = 3: 7 to 9.
  const AngleCase cases[] = {
      {kN2, kLMin, 5},      {kN2, kAlmostOne, 6},         {kN3, kLMin, 7},
      {kN3, kAlmostOne, 9}, {0.49999997f, kAlmostOne, 6},
  };
  for (const auto& c : cases) {
    PatternFixture one({kQ0, kF1, c.r3, c.r4});
    DrawCurvePattern1(one.ctx);
    EXPECT_EQ(one.picpaint.Count(Op::kPSet), 4 * c.angles) << c.r3 << ' ' << c.r4;
    EXPECT_EQ(one.picpaint.Count(Op::kLine), 4 * c.angles * 60);

    PatternFixture two({kQ0, kF1, c.r3, c.r4});
    DrawCurvePattern2(two.ctx);
    EXPECT_EQ(two.picpaint.Count(Op::kPSet), 4 * c.angles);
    EXPECT_EQ(two.picpaint.Count(Op::kLine), 4 * c.angles * 90);
  }
}

TEST(CurvePattern, SecondKindCollapsesTheFirstCopyIntoTheCentre) {
  // q = 2 puts the first point of each curve off the axis, so only the
  // zero coefficients of a = 0 can bring it to the centre.
  PatternFixture fx({kQ2, kF1, kN2, kLMin}, "80");
  DrawCurvePattern2(fx.ctx);
  const auto pts = Points(fx.picpaint);
  ASSERT_EQ(pts.size(), 5u * 4 * 91);
  for (std::size_t i = 0; i < 4 * 91; ++i) {
    ASSERT_EQ(pts[i].x, 100.0f) << i;
    ASSERT_EQ(pts[i].y, 100.0f) << i;
    ASSERT_EQ(pts[i].op, i % 91 == 0 ? Op::kPSet : Op::kLine) << i;
  }
  // At 1.57 the copy is full size and slanted by an eighth turn: the first
  // point (-90, -80) of pass 1, sign -1 maps to x' = (x - y) sin a, y' = (x + y) sin a.
  const double s = std::sin(1.57);
  EXPECT_NEAR(pts[4 * 91].x, 100 - (-90 - -80) * s, 1e-4);
  EXPECT_NEAR(pts[4 * 91].y, 100 + (-90 + -80) * s, 1e-4);
}

TEST(CurvePattern, ZeroAmplitudeOrZeroSineFrequencyDrawsStraightStrokes) {
  // Amplitude 0, and row 1 with f = 0 (sin(0 x theta) = 0), both make r = 0:
  // per angle a horizontal and a vertical stroke of length 180.
  const std::pair<std::vector<float>, const char*> cases[] = {{{kQ0, kF1, kN2, kLMin}, "0"},
                                                              {{0.25f, 0.0f, kN2, kLMin}, "80"}};
  for (const auto& [randoms, text] : cases) {
    PatternFixture fx(randoms, text);
    DrawCurvePattern1(fx.ctx);
    const auto pts = Points(fx.picpaint);
    for (std::size_t i = 0; i < 4 * 61; ++i) {
      const int t = -90 + 3 * static_cast<int>(i % 61);
      if (i < 2 * 61) {  // pass 1: horizontal stroke through the centre
        ASSERT_EQ(pts[i].x, static_cast<float>(100 - t)) << text << ' ' << i;
        ASSERT_EQ(pts[i].y, 100.0f) << text << ' ' << i;
      } else {  // pass 2: vertical stroke
        ASSERT_EQ(pts[i].x, 100.0f) << text << ' ' << i;
        ASSERT_EQ(pts[i].y, static_cast<float>(100 + t)) << text << ' ' << i;
      }
    }
  }
}

// The curves of a log as point lists, for comparing drawings in any order.
std::vector<std::vector<std::pair<float, float>>> Curves(const testing::RecordingSurface& s) {
  std::vector<std::vector<std::pair<float, float>>> out;
  for (const auto& c : Points(s)) {
    if (c.op == Op::kPSet) out.emplace_back();
    out.back().emplace_back(c.x, c.y);
  }
  return out;
}

TEST(CurvePattern, FreshRunsDrawTheSameFirstPattern) {
  // Each run starts its own stream; nothing seeds it from the outside.
  std::vector<std::vector<std::pair<float, float>>> runs[2];
  for (auto& run : runs) {
    Pcg32Random rnd;
    PatternFixture fx({});
    PatternContext ctx{.picpaint = fx.picpaint,
                       .Picture1 = fx.picture1,
                       .Picture2 = fx.picture2,
                       .Picture3 = fx.picture3,
                       .amplitudeText = [] { return std::string("80"); },
                       .rnd = rnd};
    DrawCurvePattern1(ctx);
    run = Curves(fx.picpaint);
  }
  EXPECT_FALSE(runs[0].empty());
  EXPECT_EQ(runs[0], runs[1]);
}

TEST(CurvePattern, AmplitudeSignAndBlanksChangeOnlyTheOrder) {
  const std::vector<float> r = {0.3f, 0.7f, kN3, 0.6f};
  PatternFixture plus(r, "80"), minus(r, "-80"), padded(r, " 80 ");
  DrawCurvePattern1(plus.ctx);
  DrawCurvePattern1(minus.ctx);
  DrawCurvePattern1(padded.ctx);

  auto a = Curves(plus.picpaint), b = Curves(minus.picpaint);
  EXPECT_NE(a, b) << "both signs are drawn, so the order differs";
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  EXPECT_EQ(a, b);

  EXPECT_EQ(Curves(padded.picpaint), Curves(plus.picpaint));
}

TEST(CurvePattern, LargeAmplitudeRunsOffTheCanvasAndStillCompletes) {
  PatternFixture fx({kQ0, kF1, kN2, kLMin}, "7200");
  DrawCurvePattern1(fx.ctx);
  const auto pts = Points(fx.picpaint);
  EXPECT_EQ(pts.size(), 5u * 4 * 61);
  EXPECT_TRUE(
      std::any_of(pts.begin(), pts.end(), [](const SurfaceCall& c) { return c.y < -1000 || c.y > 1200; }));
  EXPECT_EQ(fx.picture2.Count(Op::kSetPicture), 1u);
}

TEST(CurvePattern, TextIsReadAfterTheClearAndBeforeTheRandomDraws) {
  PatternFixture fx({kQ0, kF1, kN2, kLMin});
  std::size_t calls_at_read = 99, draws_at_read = 99;
  fx.ctx.amplitudeText = [&] {
    calls_at_read = fx.picpaint.Calls().size();
    draws_at_read = fx.rnd.Used();
    return std::string("80");
  };
  DrawCurvePattern1(fx.ctx);
  EXPECT_EQ(calls_at_read, 1u);
  EXPECT_EQ(draws_at_read, 0u);
}

TEST(CurvePattern, NonNumericAmplitudeFailsAfterClearAndFourDraws) {
  for (const char* text : {"abc", "", "8O"}) {
    for (auto click : {&DrawCurvePattern1, &DrawCurvePattern2}) {
      PatternFixture fx({kQ0, kF1, kN2, kLMin}, text);
      EXPECT_EQ(ErrorOf(fx, click), kErrTypeMismatch) << '"' << text << '"';
      ASSERT_EQ(fx.picpaint.Calls().size(), 1u);
      EXPECT_EQ(fx.picpaint.Calls()[0].op, Op::kCls);
      EXPECT_EQ(fx.rnd.Used(), 4u);
      EXPECT_TRUE(fx.picture2.Calls().empty());
    }
  }
}

TEST(CurvePattern, CoordinateBeyondTheSingleRangeStopsAtThatPoint) {
  // r at the second point is about -1.04e39: past the largest single. The
  // first point (r = 0) is already drawn and stays.
  PatternFixture fx({kQ0, kF1, kN2, kLMin}, "1e40");
  EXPECT_EQ(ErrorOf(fx, &DrawCurvePattern1), kErrOverflow);
  const auto& calls = fx.picpaint.Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].op, Op::kPSet);
  EXPECT_EQ(calls[1].x, 190.0f);
  EXPECT_TRUE(fx.picture2.Calls().empty());

  // Just inside the range the same pattern completes.
  PatternFixture ok({kQ0, kF1, kN2, kLMin}, "1e38");
  DrawCurvePattern1(ok.ctx);
  EXPECT_EQ(ok.picture2.Count(Op::kSetPicture), 1u);
}

TEST(CurvePattern, ACodeIsCheckedWithTheErrorItsDrawingWouldRaiseAndNothingDrawn) {
  auto errorOf = [](const PatternCode& code) {
    try {
      CheckDrawable(code);
    } catch (const RuntimeError& e) {
      return e.Number();
    }
    return 0;
  };
  PatternCode code{.drawing = 1, .amplitude = 1e40, .randoms = {kQ0, kF1, kN2, kLMin}};
  EXPECT_EQ(errorOf(code), kErrOverflow);
  code.amplitude = 1e38;
  EXPECT_EQ(errorOf(code), 0);
  code.drawing = 3;
  EXPECT_EQ(errorOf(code), kErrInvalidProcedureCall);
  // The same codes on a surface: the check said what drawing does.
  PatternFixture fx({});
  code = PatternCode{.drawing = 2, .amplitude = -1e39, .randoms = {kQ2, kF1, kN3, kLMin}};
  EXPECT_EQ(errorOf(code), kErrOverflow);
  EXPECT_THROW(DrawPattern(fx.picpaint, code), RuntimeError);
}

TEST(CurvePattern, FormulaRowsFollowTheSelector) {
  // The second point of the first curve has theta = 6 x 3.14 / 180 and f = 1;
  // its height in pass 1, sign -1, is 100 + r for each row of the table.
  const double th = 6 * 3.14 / 180;
  const double rows[] = {-80 * std::sin(th) * std::cos(th), -80 * std::sin(th) * std::sin(th),
                         -80 * std::cos(th) * std::cos(th), -80 * std::cos(th) * std::sin(th)};
  const float selectors[] = {0.0f, 0.25f, 0.5f, 0.75f};
  for (int q = 0; q < 4; ++q) {
    PatternFixture fx({selectors[q], kF1, kN2, kLMin}, "80");
    DrawCurvePattern1(fx.ctx);
    EXPECT_FLOAT_EQ(Points(fx.picpaint)[1].y, static_cast<float>(100 + rows[q])) << q;
  }
}

}  // namespace
}  // namespace patterns
