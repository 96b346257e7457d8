#include "patterns/effect_picture.h"

#include <gtest/gtest.h>

#include <string>

#include "pattern_fixture.h"
#include "patterns/credit_line.h"
#include "patterns/curve_pattern.h"
#include "patterns/runtime_error.h"

namespace patterns {
namespace {

using testing::Op;
using testing::SurfaceCall;

std::vector<SurfaceCall> OfKind(const testing::RecordingSurface& s, Op op) {
  std::vector<SurfaceCall> out;
  for (const auto& c : s.Calls()) {
    if (c.op == op) out.push_back(c);
  }
  return out;
}

const char* const kCredit = " 澜帆公元2026-12-07 14:03:05设计出品 https://lanfan.example.org";

TEST(EffectPicture, FourByFourTilesWithTheLastColumnAndRowCutOff) {
  PatternFixture fx({});
  DrawEffectPicture(fx.ctx);

  const auto& calls = fx.picture1.Calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls[0].op, Op::kCls);
  const auto tiles = OfKind(fx.picture1, Op::kPaintPicture);
  ASSERT_EQ(tiles.size(), 16u);
  ASSERT_EQ(calls.size(), 17u);
  // Rows from the top, each left to right, in twips (201 px = 3015).
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) {
      const auto& t = tiles[static_cast<std::size_t>(row * 4 + col)];
      EXPECT_EQ(t.x, static_cast<float>(col * 3015));
      EXPECT_EQ(t.y, static_cast<float>(row * 3015));
      EXPECT_EQ(t.width, 3015.0f);
      EXPECT_EQ(t.height, 3015.0f);
    }
  }
  // What of the last tile lies inside 737 x 709 pixels: 134 x 106.
  EXPECT_EQ((737 * 15 - tiles.back().x) / 15, 134.0f);
  EXPECT_EQ((709 * 15 - tiles.back().y) / 15, 106.0f);
}

TEST(EffectPicture, EveryTileIsAFreshImageThenPicture3ThenTheCredit) {
  PatternFixture fx({});
  std::size_t heard = 0;
  fx.ctx.onEffectDrawn = [&] {
    ++heard;
    EXPECT_EQ(fx.picture2.Count(Op::kPrint), 1u) << "told once the effect picture is complete";
  };
  DrawEffectPicture(fx.ctx);
  EXPECT_EQ(heard, 1u);

  const auto& p2 = fx.picture2.Calls();
  ASSERT_EQ(p2.size(), 18u);
  for (int i = 0; i < 17; ++i) ASSERT_EQ(p2[static_cast<std::size_t>(i)].op, Op::kImage) << i;
  EXPECT_EQ(p2[17].op, Op::kPrint);
  EXPECT_EQ(p2[17].text, kCredit);

  const auto tiles = OfKind(fx.picture1, Op::kPaintPicture);
  for (std::size_t i = 0; i < tiles.size(); ++i) {
    EXPECT_TRUE(tiles[i].picture.SameImageAs(p2[i].picture)) << "tile " << i << " is not its own snapshot";
    if (i > 0) {
      EXPECT_FALSE(tiles[i].picture.SameImageAs(tiles[i - 1].picture));
    }
  }
  ASSERT_EQ(fx.picture3.Calls().size(), 1u);
  EXPECT_EQ(fx.picture3.Calls()[0].op, Op::kSetPicture);
  EXPECT_TRUE(fx.picture3.Calls()[0].picture.SameImageAs(p2[16].picture));
}

TEST(EffectPicture, TilingAloneLeavesPicture3TheCreditAndTheListenerOut) {
  PatternFixture fx({});
  fx.ctx.onEffectDrawn = [] { ADD_FAILURE() << "an earlier effect picture brought back is no new one"; };
  TileEffectPicture(fx.ctx);
  EXPECT_EQ(OfKind(fx.picture1, Op::kPaintPicture).size(), 16u);
  EXPECT_EQ(fx.picture1.Calls().front().op, Op::kCls);
  EXPECT_EQ(fx.picture2.Count(Op::kPrint), 0u);
  EXPECT_TRUE(fx.picture3.Calls().empty());
}

TEST(EffectPicture, EachCreditLineLandsOneLineLowerEvenAfterANewPattern) {
  PatternFixture fx({0.0f, 0.5f, 0.0f, 0.0f});
  DrawEffectPicture(fx.ctx);
  DrawEffectPicture(fx.ctx);
  DrawCurvePattern1(fx.ctx);
  DrawEffectPicture(fx.ctx);

  const auto prints = OfKind(fx.picture2, Op::kPrint);
  ASSERT_EQ(prints.size(), 3u);
  for (std::size_t i = 0; i < prints.size(); ++i) {
    EXPECT_EQ(prints[i].x, 0.0f);
    EXPECT_EQ(prints[i].y, 300.0f * static_cast<float>(i)) << "print " << i;
    EXPECT_EQ(prints[i].text, kCredit);
  }
  // The effect picture never clears or re-anchors its own tile buffer.
  EXPECT_EQ(fx.picture2.Count(Op::kCls), 0u);
  EXPECT_EQ(fx.picture2.Count(Op::kPSet), 0u);
}

TEST(EffectPicture, TileSizeRoundsHalfToEven) {
  PatternFixture fx({});
  fx.picture2.Resize(100.5f, 99.5f);  // 100 and 100
  fx.picture1.Resize(201.0f, 200.0f);
  DrawEffectPicture(fx.ctx);
  const auto tiles = OfKind(fx.picture1, Op::kPaintPicture);
  ASSERT_EQ(tiles.size(), 6u);  // x = 0, 100, 200; y = 0, 100
  EXPECT_EQ(tiles[2].x, 200.0f);
  EXPECT_EQ(tiles[5].y, 100.0f);
  for (const auto& t : tiles) {
    EXPECT_EQ(t.width, 100.0f);
    EXPECT_EQ(t.height, 100.0f);
  }
}

// Shrinks the target to one tile as soon as the first tile is painted, to
// show whether the loops look at the size again.
class ShrinkingSurface final : public DrawingSurface {
 public:
  explicit ShrinkingSurface(testing::RecordingSurface& inner) : inner_(inner) {}
  void Cls() override { inner_.Cls(); }
  void PSet(float x, float y, Colour c) override { inner_.PSet(x, y, c); }
  void Line(float x, float y, Colour c) override { inner_.Line(x, y, c); }
  void MoveTo(float x, float y) override { inner_.MoveTo(x, y); }
  void SetBackColor(Colour c) override { inner_.SetBackColor(c); }
  Colour BackColor() const override { return inner_.BackColor(); }
  void SetForeColor(Colour c) override { inner_.SetForeColor(c); }
  float ScaleWidth() const override { return inner_.ScaleWidth(); }
  float ScaleHeight() const override { return inner_.ScaleHeight(); }
  Picture Image() override { return inner_.Image(); }
  void SetPicture(const Picture& p) override { inner_.SetPicture(p); }
  void PaintPicture(const Picture& p, float x, float y, float w, float h) override {
    inner_.PaintPicture(p, x, y, w, h);
    inner_.Resize(3015, 3015);
  }
  void Print(std::string_view text) override { inner_.Print(text); }

 private:
  testing::RecordingSurface& inner_;
};

TEST(EffectPicture, LoopsReadTheTargetSizeAtEveryStep) {
  PatternFixture fx({});
  ShrinkingSurface shrinking(fx.picture1);
  PatternContext ctx{.picpaint = fx.picpaint,
                     .Picture1 = shrinking,
                     .Picture2 = fx.picture2,
                     .Picture3 = fx.picture3,
                     .amplitudeText = [] { return std::string("80"); },
                     .rnd = fx.rnd,
                     .clock = fx.ctx.clock};
  DrawEffectPicture(ctx);
  EXPECT_EQ(fx.picture1.Count(Op::kPaintPicture), 1u);
}

TEST(EffectPicture, TileWithoutAreaEndsWithoutTilingInsteadOfLoopingForever) {
  PatternFixture fx({});
  fx.picture2.Resize(0.4f, 3015.0f);  // rounds to a width of 0
  DrawEffectPicture(fx.ctx);
  EXPECT_EQ(fx.picture1.Count(Op::kPaintPicture), 0u);
  EXPECT_EQ(fx.picture1.Count(Op::kCls), 1u);
  EXPECT_EQ(fx.picture3.Count(Op::kSetPicture), 1u);
  EXPECT_EQ(fx.picture2.Count(Op::kPrint), 1u);
}

TEST(EffectPicture, TilePositionsPastThirtyTwoBitsRaiseOverflowInsteadOfWrapping) {
  PatternFixture fx({});
  fx.picture2.Resize(2e9f, 3015.0f);
  fx.picture1.Resize(3e9f, 3015.0f);
  try {
    DrawEffectPicture(fx.ctx);
    FAIL() << "no error raised";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), kErrOverflow);
  }
  // Tiles at 0 and 2e9 were painted; the next position, 4e9, does not fit.
  EXPECT_EQ(fx.picture1.Count(Op::kPaintPicture), 2u);
  EXPECT_EQ(fx.picture2.Count(Op::kPrint), 0u);
}

TEST(CreditLine, DateAndTimeAreZeroPaddedTwentyFourHour) {
  EXPECT_EQ(FormatDateTime({2027, 1, 2, 3, 4, 5}), "2027-01-02 03:04:05");
  EXPECT_EQ(FormatDateTime({2026, 12, 31, 23, 59, 59}), "2026-12-31 23:59:59");
}

}  // namespace
}  // namespace patterns
