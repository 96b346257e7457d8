// The skin engine's copies at the sizes the painters use them: a push-button face from the
// button bitmap, an option circle laid over a window with the key colour, and a combo arrow.
#include <benchmark/benchmark.h>

#include "platform/win32.h"
#include "skin/primitives.h"
#include "skin/skin_bitmaps.h"
#include "skin/skin_blit.h"
#include "skin/skin_state.h"
#include "skin/skin_types.h"

namespace {

struct SkinFixture {
  SkinFixture() : target(skin::CreateMemoryDC(121, 25)) { skin::BuildSkinBitmaps(); }
  ~SkinFixture() {
    skin::ReleaseSkinBitmaps();
    DeleteDC(target);
  }
  HDC target;
};

void BM_ButtonFace75x25(benchmark::State& state) {
  SkinFixture f;
  for (auto _ : state)
    benchmark::DoNotOptimize(
        skin::DrawSkinFrame(f.target, 0, 0, 75, 25, skin::ButtonSkinDC, 0, 21, 7, 21, 3, 3, 3, 3));
}
BENCHMARK(BM_ButtonFace75x25);

void BM_OptionCircleKeyed13x13(benchmark::State& state) {
  SkinFixture f;
  for (auto _ : state)
    benchmark::DoNotOptimize(skin::DrawSkinFrame(f.target, 0, 4, 13, 13, skin::BoxSkinDC, 0, 13, 13, 13, 5, 5,
                                                 5, 5, skin::kKeyColour));
}
BENCHMARK(BM_OptionCircleKeyed13x13);

void BM_ComboArrow(benchmark::State& state) {
  SkinFixture f;
  for (auto _ : state)
    skin::TransparentCopy(f.target, 6, 8, 7, 4, skin::ComboSkinDC, 8, 0, skin::kKeyColour, nullptr);
}
BENCHMARK(BM_ComboArrow);

}  // namespace

BENCHMARK_MAIN();
