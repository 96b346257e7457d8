// The history on its own: stepping, a new pattern after stepping back, the
// effect picture kept with an entry, and the limit.
#include "app/pattern_history.h"

#include <gtest/gtest.h>

namespace app {
namespace {

patterns::PatternCode Code(int n) { return patterns::PatternCode{.amplitude = static_cast<double>(n)}; }
double Amplitude(const HistoryEntry* e) { return e ? e->code.amplitude : -1.0; }

TEST(PatternHistory, StepsBothWaysAndANewPatternGoesToTheEndWithNothingLost) {
  PatternHistory h;
  EXPECT_EQ(h.Current(), nullptr);
  EXPECT_FALSE(h.CanGoBack());
  EXPECT_EQ(h.Back(), nullptr);
  for (int i = 1; i <= 5; ++i) h.Add(Code(i), {});
  EXPECT_FALSE(h.CanGoForward());
  EXPECT_EQ(h.Forward(), nullptr);
  EXPECT_EQ(Amplitude(h.Back()), 4.0);
  EXPECT_EQ(Amplitude(h.Back()), 3.0);
  EXPECT_EQ(Amplitude(h.Back()), 2.0);
  EXPECT_EQ(Amplitude(h.Forward()), 3.0);
  EXPECT_TRUE(h.CanGoForward());

  h.Add(Code(6), {});
  ASSERT_EQ(h.Size(), 6u);
  EXPECT_EQ(h.Position(), 5u);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(h.At(static_cast<std::size_t>(i)).code.amplitude, i + 1.0);
  while (h.Back()) {
  }
  EXPECT_EQ(Amplitude(h.Current()), 1.0);
}

TEST(PatternHistory, TheEffectPictureIsKeptWithTheEntryShownWhenItChanges) {
  PatternHistory h;
  h.SetCurrentEffect(EffectShown{.tiled = true, .tile = std::nullopt});  // nothing to keep it with yet
  h.Add(Code(1), EffectShown{});
  h.Add(Code(2), EffectShown{});
  h.SetCurrentEffect(EffectShown{.tiled = true, .tile = Code(2)});
  h.Add(Code(3), EffectShown{.tiled = true, .tile = Code(2)});
  h.Back();
  h.Back();
  h.SetCurrentEffect(EffectShown{.tiled = true, .tile = Code(1)});
  EXPECT_TRUE(h.At(0).effect.tiled);
  EXPECT_EQ(h.At(0).effect.tile->amplitude, 1.0);
  EXPECT_EQ(h.At(1).effect.tile->amplitude, 2.0);
  EXPECT_EQ(h.At(2).effect.tile->amplitude, 2.0) << "an entry keeps the effect picture it was drawn under";
}

TEST(PatternHistory, KeepsTheLast500) {
  PatternHistory h;
  for (int i = 1; i <= 501; ++i) h.Add(Code(i), {});
  EXPECT_EQ(h.Size(), PatternHistory::kLimit);
  EXPECT_EQ(h.At(0).code.amplitude, 2.0) << "the oldest went";
  EXPECT_EQ(Amplitude(h.Current()), 501.0);
  int steps = 0;
  while (h.Back()) ++steps;
  EXPECT_EQ(steps, 499);
  h.Add(Code(502), {});
  EXPECT_EQ(h.Size(), 500u);
  EXPECT_EQ(h.At(0).code.amplitude, 3.0);
  EXPECT_EQ(h.Position(), 499u);
}

}  // namespace
}  // namespace app
