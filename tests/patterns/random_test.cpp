#include "patterns/random_source.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "support/doubles/scripted_random.h"

namespace patterns {
namespace {

TEST(Pcg32Random, MatchesTheReferenceDemoOutputs) {
  // Published first outputs of PCG32 seeded with 42 on stream 54.
  Pcg32Random rng(42, 54);
  const std::uint32_t expected[] = {0xa15c02b7, 0x7b47f409, 0xba1d3330, 0x83d2f293, 0xbfa4784b, 0xcbed606e};
  for (std::uint32_t e : expected) EXPECT_EQ(rng.NextBits(), e);
}

TEST(Pcg32Random, EveryRunStartsTheSameSequenceOfSinglesFromTheTopBits) {
  Pcg32Random a;
  Pcg32Random b;
  // The first value is the top 24 bits of the first output, scaled exactly.
  EXPECT_EQ(a.Rnd(), static_cast<float>(0xa15c02) / 16777216.0f);
  b.Rnd();
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(a.Rnd(), b.Rnd());
}

TEST(Pcg32Random, StaysInTheHalfOpenUnitInterval) {
  Pcg32Random rng;
  double sum = 0;
  const int n = 200000;
  for (int i = 0; i < n; ++i) {
    const float v = rng.Rnd();
    ASSERT_GE(v, 0.0f);
    ASSERT_LT(v, 1.0f);
    sum += v;
  }
  EXPECT_NEAR(sum / n, 0.5, 0.01);
}

TEST(ScriptedRandom, HandsOutItsScriptThenRefuses) {
  testing::ScriptedRandom rnd{0.25f, 0.5f};
  EXPECT_EQ(rnd.Rnd(), 0.25f);
  EXPECT_EQ(rnd.Rnd(), 0.5f);
  EXPECT_EQ(rnd.Used(), 2u);
  EXPECT_THROW(rnd.Rnd(), std::logic_error);
}

}  // namespace
}  // namespace patterns
