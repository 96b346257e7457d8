// Text drawing costs on the program's real cases: a push-button caption
// (centred, one line, ellipsis) and the credit line of the effect picture.
#include <benchmark/benchmark.h>

#include "platform/win32.h"

namespace {

struct Target {
  HDC dc;
  HBITMAP bitmap;
  HFONT font;
  HGDIOBJ oldBitmap;
  HGDIOBJ oldFont;
  Target(int w, int h, const char* face, int height, int weight) {
    HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    dc = CreateCompatibleDC(screen);
    bitmap = CreateCompatibleBitmap(screen, w, h);
    DeleteDC(screen);
    oldBitmap = SelectObject(dc, bitmap);
    font = CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
    oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
  }
  ~Target() {
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(font);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
};

void BM_ButtonCaption(benchmark::State& state) {
  Target t(69, 21, "宋体", -14, FW_BOLD);
  for (auto _ : state) {
    RECT r{2, 2, 67, 19};
    benchmark::DoNotOptimize(DrawTextA(t.dc, "停止自动", -1, &r, 0x8025));
  }
}
BENCHMARK(BM_ButtonCaption);

void BM_CreditLine(benchmark::State& state) {
  Target t(205, 205, "MS Sans Serif", -16, FW_BOLD);
  const char line[] = " 澜帆公元2026-12-07 13:45:00设计出品 http://example.org/";
  for (auto _ : state) {
    benchmark::DoNotOptimize(TextOutA(t.dc, 0, 100, line, static_cast<int>(sizeof line - 1)));
  }
}
BENCHMARK(BM_CreditLine);

void BM_MeasureCaption(benchmark::State& state) {
  Target t(1, 1, "宋体", -14, FW_BOLD);
  SIZE sz{};
  for (auto _ : state) {
    GetTextExtentPoint32A(t.dc, "图案应用范围", 18, &sz);
    benchmark::DoNotOptimize(sz);
  }
}
BENCHMARK(BM_MeasureCaption);

}  // namespace

BENCHMARK_MAIN();
