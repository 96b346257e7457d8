// Speed of the main window headless: one automatic tick on the real picture
// boxes, and start-up from nothing to the first complete paint.
#include <benchmark/benchmark.h>

#include <memory>

#include "app/form1.h"
#include "platform/testing.h"
#include "runtime/error_report.h"

namespace {

void Quiet() {
  runtime::SetErrorReporter([](HWND, const runtime::ErrorBox&) {});
}

// Background, colours, pattern "画图1" and the effect picture with its credit
// line, exactly as Timer1 runs them, then the repaint of what changed.
void BM_AutomaticTick(benchmark::State& state) {
  platform::testing::Reset();
  platform::testing::UseVirtualTime(1000);
  Quiet();
  {
    app::Form1 form;
    form.Form().SetQuitOnDestroy(false);
    form.LoadAndShow();
    platform::testing::PumpMessages();
    for (auto _ : state) {
      form.Timer1_Timer();
      platform::testing::PumpMessages();
    }
  }
  platform::testing::Reset();
}
BENCHMARK(BM_AutomaticTick)->Unit(benchmark::kMicrosecond);

// Layout to windows, Form_Load, show, and every window painted once.
void BM_StartupToFirstPaint(benchmark::State& state) {
  platform::testing::Reset();
  platform::testing::UseVirtualTime(1000);
  Quiet();
  for (auto _ : state) {
    auto form = std::make_unique<app::Form1>();
    form->Form().SetQuitOnDestroy(false);
    form->LoadAndShow();
    platform::testing::PumpMessages();
    benchmark::DoNotOptimize(platform::testing::ScreenPixel(100, 100));
    state.PauseTiming();
    form.reset();
    platform::testing::Reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartupToFirstPaint)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
