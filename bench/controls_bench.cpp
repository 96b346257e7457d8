// Standard controls: what one keystroke costs in a long multi-line edit
// (it lays the text out again and repaints), and painting a push button
// and a filled list box.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/testing.h"
#include "platform/win32.h"

namespace {

namespace pt = platform::testing;

LRESULT CALLBACK ParentProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

HWND MakeParent() {
  pt::Reset();
  pt::UseVirtualTime(1000);
  static bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ParentProc;
    wc.lpszClassName = "CtlBenchParent";
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  return CreateWindowExA(0, "CtlBenchParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr,
                         nullptr, nullptr);
}

HWND Child(HWND parent, const char* cls, DWORD style, int w, int h, const char* text = "") {
  return CreateWindowExA(WS_EX_CLIENTEDGE, cls, text, WS_CHILD | WS_VISIBLE | style, 10, 10, w, h, parent,
                         nullptr, nullptr, nullptr);
}

void BM_KeystrokeInLongEdit(benchmark::State& state) {
  HWND parent = MakeParent();
  std::string text;
  while (text.size() < static_cast<std::size_t>(state.range(0))) text += "第一行 some words on a line\r\n";
  HWND e = Child(parent, "Edit", ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 300, 200, text.c_str());
  SetFocus(e);
  SendMessageA(e, EM_SETSEL, text.size() / 2, text.size() / 2);
  pt::PumpMessages();
  for (auto _ : state) {
    SendMessageA(e, WM_CHAR, 'x', 0);
    UpdateWindow(e);
    SendMessageA(e, WM_CHAR, VK_BACK, 0);
    UpdateWindow(e);
  }
  state.SetItemsProcessed(state.iterations() * 2);
  pt::Reset();
}
BENCHMARK(BM_KeystrokeInLongEdit)->Arg(1 << 10)->Arg(64 << 10)->Unit(benchmark::kMicrosecond);

void BM_PaintButton(benchmark::State& state) {
  HWND parent = MakeParent();
  HWND b = Child(parent, "Button", BS_PUSHBUTTON, 69, 21, "画图1");
  pt::PumpMessages();
  for (auto _ : state) {
    InvalidateRect(b, nullptr, TRUE);
    UpdateWindow(b);
  }
  pt::Reset();
}
BENCHMARK(BM_PaintButton)->Unit(benchmark::kMicrosecond);

void BM_PaintListBox(benchmark::State& state) {
  HWND parent = MakeParent();
  HWND l = Child(parent, "ListBox", WS_VSCROLL, 300, 200);
  for (int i = 0; i < 500; ++i)
    SendMessageA(l, LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(("文件 " + std::to_string(i) + "\t12 KB").c_str()));
  pt::PumpMessages();
  for (auto _ : state) {
    RedrawWindow(l, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  }
  pt::Reset();
}
BENCHMARK(BM_PaintListBox)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
