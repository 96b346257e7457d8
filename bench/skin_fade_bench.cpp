// One step of a push button's fade as the timer delivers it: WM_TIMER through the skinned window
// procedure, which blends the current face over the 69 x 21 button once and moves the level on.
#include <benchmark/benchmark.h>

#include "platform/testing.h"
#include "platform/win32.h"
#include "skin/skin_install.h"
#include "skin/skin_props.h"

namespace {

namespace pt = platform::testing;

LRESULT CALLBACK FormProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

void BM_FadeStep69x21(benchmark::State& state) {
  pt::Reset();
  pt::UseVirtualTime(1000);
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = FormProc;
    wc.lpszClassName = "ThunderRT6FormDC";  // a form to the skin
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  HWND form = CreateWindowExA(0, "ThunderRT6FormDC", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                              nullptr, nullptr, nullptr);
  HWND button = CreateWindowExA(0, "Button", "画图1", WS_CHILD | WS_VISIBLE, 10, 10, 69, 21, form, nullptr,
                                nullptr, nullptr);
  skin::ApplySkin(form);
  pt::PumpMessages();
  skin::SetIntProp(button, skin::kOldStateProp, 1);
  for (auto _ : state) {
    // Mid-fade every time, so no step is the last one that stops the timer.
    skin::SetIntProp(button, skin::kAlphaLevelProp, 120);
    benchmark::DoNotOptimize(SendMessageA(button, WM_TIMER, 1, 0));
  }
  DestroyWindow(form);
  pt::Reset();
}
BENCHMARK(BM_FadeStep69x21)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
