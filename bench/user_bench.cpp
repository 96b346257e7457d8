// Window-manager benchmarks: a full repaint of a main-window-sized tree and
// one message round trip through a subclassed procedure.
#include <benchmark/benchmark.h>

#include "platform/testing.h"
#include "platform/win32.h"

namespace {

WNDPROC g_prev = nullptr;

LRESULT CALLBACK Subclassed(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_USER) return CallWindowProcA(g_prev, hwnd, msg, wParam + 1, lParam);
  return CallWindowProcA(g_prev, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK Base(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_USER) return static_cast<LRESULT>(wParam);
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void RegisterOnce() {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASSA wc{};
  wc.lpfnWndProc = Base;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
  wc.lpszClassName = "BenchForm";
  RegisterClassA(&wc);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "BenchControl";
  RegisterClassA(&wc);
}

void BM_FullRepaintOfMainWindowWith30Children(benchmark::State& state) {
  platform::testing::Reset();
  RegisterOnce();
  HWND top =
      CreateWindowExA(0, "BenchForm", "bench", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                      0, 952, 716, nullptr, nullptr, nullptr, nullptr);
  for (int i = 0; i < 30; ++i) {
    int col = i % 6, row = i / 6;
    DWORD ex = (i % 2) ? WS_EX_CLIENTEDGE : 0;
    CreateWindowExA(ex, "BenchControl", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_CLIPSIBLINGS,
                    10 + col * 150, 10 + row * 120, 140, 100, top, nullptr, nullptr, nullptr);
  }
  platform::testing::PumpMessages();
  for (auto _ : state) {
    RedrawWindow(top, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    benchmark::DoNotOptimize(platform::testing::WindowPixels(top)->pixels.data());
  }
  DestroyWindow(top);
}
BENCHMARK(BM_FullRepaintOfMainWindowWith30Children)->Unit(benchmark::kMicrosecond);

void BM_MessageRoundTripThroughSubclass(benchmark::State& state) {
  platform::testing::Reset();
  RegisterOnce();
  HWND h = CreateWindowExA(0, "BenchControl", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  g_prev =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclassed)));
  WPARAM w = 0;
  for (auto _ : state) {
    w = static_cast<WPARAM>(SendMessageA(h, WM_USER, w, 0));
    benchmark::DoNotOptimize(w);
  }
  DestroyWindow(h);
}
BENCHMARK(BM_MessageRoundTripThroughSubclass);

}  // namespace

BENCHMARK_MAIN();
