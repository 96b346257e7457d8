#include "patterns/auto_tick.h"

#include <gtest/gtest.h>

#include "pattern_fixture.h"
#include "patterns/runtime_error.h"

namespace patterns {
namespace {

using testing::Op;

// Six colour draws, then the pattern's four (q = 0, f = 1, n = 2, L = 6.28).
std::vector<float> TickValues(float r1, float r2, float r3, float r4, float r5, float r6) {
  return {r1, r2, r3, r4, r5, r6, 0.0f, 0.5f, 0.0f, 0.0f};
}

TEST(AutoTick, HalfGivesBackground128AndLine118) {
  PatternFixture fx(TickValues(0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f));
  AutoTick1(fx.ctx);
  EXPECT_EQ(fx.picpaint.Calls()[0].op, Op::kSetBackColor);
  EXPECT_EQ(fx.picpaint.Calls()[0].colour, 128 + 128 * 256 + 128 * 65536);
  EXPECT_EQ(fx.ctx.icolor, 118 + 118 * 256 + 118 * 65536);
  EXPECT_EQ(fx.rnd.Remaining(), 0u) << "a tick uses exactly ten values";
}

TEST(AutoTick, ComponentsComeInRedGreenBlueOrderAndLinesStayBelowWhite) {
  // 0.25 x 255 = 63.75 -> 64, 0.75 x 255 = 191.25 -> 191; 0.25 x 235 = 58.75
  // -> 59, 0.125 x 235 = 29.375 -> 29; the top of the stream x 235 -> 235.
  PatternFixture fx(TickValues(0.25f, 0.75f, 0.0f, 0.25f, 0.125f, kAlmostOne));
  AutoTick2(fx.ctx);
  EXPECT_EQ(fx.picpaint.BackColor(), 64 + 191 * 256);
  EXPECT_EQ(fx.ctx.icolor, 59 + 29 * 256 + 235 * 65536);

  PatternFixture white(TickValues(kAlmostOne, kAlmostOne, kAlmostOne, 0, 0, 0));
  AutoTick1(white.ctx);
  EXPECT_EQ(white.picpaint.BackColor(), 0xFFFFFF);
}

TEST(AutoTick, RandomColourDrawsThreeValuesInRedGreenBlueOrder) {
  testing::ScriptedRandom rnd{0.5f, 0.0f, 0.25f, 0.7f};
  EXPECT_EQ(RandomColour(rnd, 235.0), 118 + 59 * 65536);
  EXPECT_EQ(rnd.Remaining(), 1u);
}

TEST(AutoTick, ColoursThenPatternThenEffectPicture) {
  PatternFixture fx(TickValues(0.5f, 0.5f, 0.5f, 0.25f, 0.25f, 0.25f));
  AutoTick1(fx.ctx);
  const auto& canvas = fx.picpaint.Calls();
  ASSERT_GE(canvas.size(), 3u);
  EXPECT_EQ(canvas[1].op, Op::kCls);
  EXPECT_EQ(canvas[3].op, Op::kLine);
  EXPECT_EQ(canvas[3].colour, 59 + 59 * 256 + 59 * 65536) << "the pattern draws in the new line colour";
  EXPECT_EQ(fx.picpaint.Count(Op::kLine), 5u * 4 * 60);  // the first kind

  const auto& p2 = fx.picture2.Calls();
  ASSERT_EQ(p2.front().op, Op::kSetPicture);  // the new tile arrives first
  EXPECT_EQ(p2.back().op, Op::kPrint);        // the effect picture runs after it
  EXPECT_EQ(fx.picture1.Count(Op::kPaintPicture), 16u);

  PatternFixture second(TickValues(0.5f, 0.5f, 0.5f, 0.25f, 0.25f, 0.25f));
  AutoTick2(second.ctx);
  EXPECT_EQ(second.picpaint.Count(Op::kLine), 5u * 4 * 90);  // the second kind
}

TEST(AutoTick, FailingPatternEndsTheTickBeforeTheEffectPicture) {
  PatternFixture fx(TickValues(0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f), "八十");
  try {
    AutoTick1(fx.ctx);
    FAIL() << "no error raised";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), kErrTypeMismatch);
  }
  EXPECT_EQ(fx.picpaint.BackColor(), 0x808080);
  EXPECT_EQ(fx.ctx.icolor, 0x767676);
  EXPECT_TRUE(fx.picture1.Calls().empty());
  EXPECT_TRUE(fx.picture2.Calls().empty());
  EXPECT_TRUE(fx.picture3.Calls().empty());
  EXPECT_EQ(fx.rnd.Remaining(), 0u);
}

}  // namespace
}  // namespace patterns
