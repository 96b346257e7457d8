// Off-screen bitmaps for the engine's raster tests: made with plain gdi32 calls so that the
// primitive under test is not also the thing that prepares its input.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/handles.h"
#include "platform/win32.h"

namespace skintest {

class TestDC {
 public:
  TestDC(int width, int height) : width_(width), height_(height) {
    HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    dc_ = CreateCompatibleDC(display);
    bitmap_ = CreateCompatibleBitmap(display, width, height);
    old_ = SelectObject(dc_, bitmap_);
    DeleteDC(display);
  }
  TestDC(const TestDC&) = delete;
  TestDC& operator=(const TestDC&) = delete;
  ~TestDC() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }

  void Paint(const std::function<COLORREF(int, int)>& colour) {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) SetPixel(dc_, x, y, colour(x, y));
  }
  void Fill(COLORREF colour) {
    Paint([colour](int, int) { return colour; });
  }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  std::vector<COLORREF> Pixels() const {
    std::vector<COLORREF> all;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) all.push_back(At(x, y));
    return all;
  }

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

// Live GDI objects of the kinds the primitives create; equal snapshots mean nothing leaked.
struct GdiCounts {
  std::size_t dcs = platform::LiveHandleCount(platform::HandleKind::DC);
  std::size_t bitmaps = platform::LiveHandleCount(platform::HandleKind::Bitmap);
  std::size_t brushes = platform::LiveHandleCount(platform::HandleKind::Brush);
  std::size_t palettes = platform::LiveHandleCount(platform::HandleKind::Palette);
  bool operator==(const GdiCounts&) const = default;
};

// A colour unique to each pixel of a small picture, never the key colour.
inline COLORREF Distinct(int x, int y) {
  return RGB(static_cast<BYTE>(10 + 20 * x), static_cast<BYTE>(5 + 9 * y), 77);
}

}  // namespace skintest
