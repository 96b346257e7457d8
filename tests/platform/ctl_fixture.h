// Fixture of the standard-control tests: a recording parent window at a
// known screen position, control creation and pixel counting.
#pragma once

#include <cstdlib>
#include <functional>

#include "support/window_fixture.h"

namespace hwf::test {

class ControlTest : public WindowTest {
 protected:
  static constexpr int kLeft = 100, kTop = 100;  // the parent's client origin on screen

  void SetUp() override {
    WindowTest::SetUp();
    parent_ = Top(kLeft, kTop, 400, 300);
    Pump();
  }

  HWND Make(const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id,
            DWORD ex = 0) {
    return CreateWindowExA(ex, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }

  // Screen position of a point given in hwnd's client coordinates.
  static POINT Screen(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return p;
  }
  static void ClickAt(HWND hwnd, int x, int y) {
    POINT p = Screen(hwnd, x, y);
    platform::testing::Click(p.x, p.y);
  }
  static void Key(UINT vk) {
    platform::testing::KeyDown(vk);
    platform::testing::KeyUp(vk);
  }
  static void Chord(UINT modifier, UINT vk) {
    platform::testing::KeyDown(modifier);
    Key(vk);
    platform::testing::KeyUp(modifier);
  }

  // Pixels of hwnd's client area (client coordinates) for which pred holds.
  static int CountPixels(HWND hwnd, RECT r, const std::function<bool(COLORREF)>& pred) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        POINT p = Screen(hwnd, x, y);
        if (pred(platform::testing::ScreenPixel(p.x, p.y))) ++n;
      }
    return n;
  }
  static int CountColour(HWND hwnd, RECT r, COLORREF c) {
    return CountPixels(hwnd, r, [c](COLORREF v) { return v == c; });
  }
  // Text is anti-aliased: glyph pixels are blends of ink and background.
  static bool Dark(COLORREF c) { return GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80; }
  static bool Greyish(COLORREF c) {
    int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    return r >= 100 && r <= 170 && std::abs(r - g) < 8 && std::abs(g - b) < 8;
  }
  static RECT ClientOf(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    return r;
  }
  // WM_COMMAND notifications the parent received, as (id, code) pairs.
  std::vector<std::pair<int, int>> Commands() const {
    std::vector<std::pair<int, int>> out;
    for (const auto& m : rec_.Only({WM_COMMAND}))
      if (m.hwnd == parent_) out.emplace_back(LOWORD(m.wParam), HIWORD(m.wParam));
    return out;
  }

  HWND parent_ = nullptr;
};

}  // namespace hwf::test
