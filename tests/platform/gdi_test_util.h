// Small off-screen canvases for the raster tests.
#pragma once

#include <gtest/gtest.h>

#include "platform/win32.h"

namespace gdi_test {

// A memory DC holding a 32-bit bitmap of w x h filled with `fill`; both are
// released together by DeleteDC.
inline HDC ColorCanvas(int w, int h, COLORREF fill = RGB(0, 0, 0)) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bm = CreateBitmap(w, h, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(dc, bm);
  DeleteObject(old);
  HBRUSH b = CreateSolidBrush(fill);
  RECT r{0, 0, w, h};
  FillRect(dc, &r, b);
  DeleteObject(b);
  return dc;
}

// A memory DC holding a monochrome bitmap of w x h, all black (0 bits).
inline HDC MonoCanvas(int w, int h) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bm = CreateBitmap(w, h, 1, 1, nullptr);
  SelectObject(dc, bm);
  return dc;
}

inline void Fill(HDC dc, const RECT& r, COLORREF c) {
  HBRUSH b = CreateSolidBrush(c);
  FillRect(dc, &r, b);
  DeleteObject(b);
}

// RAII for a DC made by the helpers above.
struct Canvas {
  explicit Canvas(HDC d) : dc(d) {}
  ~Canvas() { DeleteDC(dc); }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  operator HDC() const { return dc; }
  HDC dc;
};

}  // namespace gdi_test
