// Every pattern the generators draw is told with its code, and a code draws
// the very same calls again without touching any random stream; the run of
// an automatic mode can be worked out without drawing, from any point.
#include <gtest/gtest.h>

#include <vector>

#include "pattern_fixture.h"
#include "patterns/auto_tick.h"
#include "patterns/curve_pattern.h"
#include "patterns/random_source.h"
#include "patterns/runtime_error.h"

namespace patterns {
namespace {

std::vector<float> StreamValues(std::size_t n, std::uint64_t seed = Pcg32Random::kStartSeed) {
  Pcg32Random rnd(seed, Pcg32Random::kStream);
  std::vector<float> v(n);
  for (float& x : v) x = rnd.Rnd();
  return v;
}

bool SameCalls(const std::vector<testing::SurfaceCall>& a, const std::vector<testing::SurfaceCall>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].op != b[i].op || a[i].x != b[i].x || a[i].y != b[i].y || a[i].colour != b[i].colour)
      return false;
  }
  return true;
}

TEST(PatternReport, EachDrawingReportsTheValuesItUsed) {
  for (auto [click, drawing] : {std::pair{&DrawCurvePattern1, 1}, std::pair{&DrawCurvePattern2, 2}}) {
    PatternFixture fx({0.25f, 0.5f, 0.75f, 0.125f}, " -120 ");
    std::vector<PatternCode> told;
    fx.ctx.onPatternDrawn = [&](const PatternCode& c) { told.push_back(c); };
    EXPECT_FALSE(fx.ctx.lastPattern.has_value());
    click(fx.ctx);
    const PatternCode expected{.drawing = drawing,
                               .amplitude = -120.0,
                               .randoms = {0.25f, 0.5f, 0.75f, 0.125f},
                               .line = 0x123456,
                               .background = 0x80FF80};
    ASSERT_TRUE(fx.ctx.lastPattern.has_value());
    EXPECT_TRUE(fx.ctx.lastPattern->SameAs(expected)) << WritePatternCode(*fx.ctx.lastPattern);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(told[0].SameAs(expected));
  }
}

TEST(PatternReport, APatternThatFailsIsNotReportedAndTheLastOneStays) {
  PatternFixture fx({0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.1f, 0.2f, 0.3f, 0.4f}, "80");
  int told = 0;
  fx.ctx.onPatternDrawn = [&](const PatternCode&) { ++told; };
  DrawCurvePattern1(fx.ctx);
  const PatternCode first = *fx.ctx.lastPattern;
  fx.amplitude = "abc";
  EXPECT_THROW(DrawCurvePattern1(fx.ctx), RuntimeError);
  fx.amplitude = "1e300";  // coordinates beyond the single range
  EXPECT_THROW(DrawCurvePattern2(fx.ctx), RuntimeError);
  EXPECT_EQ(told, 1);
  EXPECT_TRUE(fx.ctx.lastPattern->SameAs(first)) << "the tile buffer still holds the first pattern";
}

TEST(PatternReport, ACodeDrawsTheSameCallsWithoutAnyRandomStream) {
  for (auto click : {&DrawCurvePattern1, &DrawCurvePattern2}) {
    PatternFixture fx({0.9f, 0.3f, 0.6f, 0.99f}, "64");
    fx.picpaint.SetBackColor(0x00204060);
    click(fx.ctx);
    const PatternCode code = *fx.ctx.lastPattern;

    // A canvas with another background and a stray drawing on it.
    testing::RecordingSurface again({201, 201, 201, 201, 13}, 0x00FFFFFF);
    again.PSet(5, 5, 0x0000FF);
    again.ClearLog();
    const auto read = ReadPatternCode(WritePatternCode(code));
    ASSERT_TRUE(read.has_value());
    DrawPattern(again, *read);
    ASSERT_FALSE(again.Calls().empty());
    EXPECT_EQ(again.Calls()[0].op, testing::Op::kSetBackColor);
    EXPECT_EQ(again.Calls()[0].colour, 0x00204060);
    EXPECT_EQ(again.BackColor(), 0x00204060);
    EXPECT_TRUE(SameCalls(Points(again), Points(fx.picpaint)));
    EXPECT_GT(Points(again).size(), 1000u);
  }
}

TEST(PatternReport, ACodeOfNoKnownDrawingIsRefused) {
  testing::RecordingSurface canvas;
  PatternCode code{.drawing = 3, .amplitude = 80, .randoms = {}, .line = 0, .background = 0};
  try {
    DrawPattern(canvas, code);
    FAIL() << "drawing 3 was drawn";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), kErrInvalidProcedureCall);
  }
}

TEST(PatternReport, TheTicksOfAModeAreTheSequenceWorkedOutWithoutDrawing) {
  for (auto [tick, drawing] : {std::pair{&AutoTick1, 1}, std::pair{&AutoTick2, 2}}) {
    PatternFixture fx(StreamValues(5 * kDrawsPerTick), "100");
    Pcg32Random worked(Pcg32Random::kStartSeed, Pcg32Random::kStream);
    for (int i = 0; i < 5; ++i) {
      const std::size_t before = fx.rnd.Used();
      tick(fx.ctx);
      EXPECT_EQ(fx.rnd.Used() - before, static_cast<std::size_t>(kDrawsPerTick));
      const PatternCode expected = NextTickPattern(worked, drawing, 100.0);
      EXPECT_TRUE(fx.ctx.lastPattern->SameAs(expected))
          << "tick " << i << ": " << WritePatternCode(*fx.ctx.lastPattern) << " vs "
          << WritePatternCode(expected);
    }
  }
}

TEST(PatternReport, AdvancingTheStreamEqualsDrawingFromIt) {
  for (std::uint64_t n : {0ull, 1ull, 2ull, 10ull, 12345ull, 100003ull}) {
    Pcg32Random drawn(7, Pcg32Random::kStream);
    for (std::uint64_t i = 0; i < n; ++i) drawn.NextBits();
    Pcg32Random jumped(7, Pcg32Random::kStream);
    jumped.Advance(n);
    for (int i = 0; i < 4; ++i) ASSERT_EQ(jumped.NextBits(), drawn.NextBits()) << n;
  }
  // A full turn of the 64-bit state comes back to the start.
  Pcg32Random start;
  Pcg32Random around;
  around.Advance(1ull << 63);
  around.Advance(1ull << 63);
  EXPECT_EQ(around.NextBits(), start.NextBits());
}

}  // namespace
}  // namespace patterns
