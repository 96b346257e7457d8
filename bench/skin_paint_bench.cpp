// Speed of a full repaint of the skinned main window headless: frames, every control's own paint
// and the skin laid over it (push-button faces, the combo box's border and button, the flat
// borders of sunken-edge windows).
#include <benchmark/benchmark.h>

#include "app/form1.h"
#include "platform/testing.h"
#include "runtime/error_report.h"

namespace {

void BM_FullRepaintOfSkinnedMainWindow(benchmark::State& state) {
  platform::testing::Reset();
  platform::testing::UseVirtualTime(1000);
  runtime::SetErrorReporter([](HWND, const runtime::ErrorBox&) {});
  {
    app::Form1 form;
    form.Form().SetQuitOnDestroy(false);
    form.LoadAndShow();
    platform::testing::PumpMessages();
    for (auto _ : state) {
      RedrawWindow(form.Hwnd(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
      benchmark::DoNotOptimize(platform::testing::ScreenPixel(100, 100));
    }
  }
  platform::testing::Reset();
}
BENCHMARK(BM_FullRepaintOfSkinnedMainWindow)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
