// Sections: rounding · window text and box · fills, frames, text · frame thickness · memory DCs
#include "skin/primitives.h"

#include <cmath>
#include <limits>

namespace skin {

// --- rounding

std::int32_t RoundToInt(double value) {
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  if (std::isnan(value)) return 0;
  double lower = std::floor(value);
  const double fraction = value - lower;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0.0)) lower += 1.0;
  if (lower <= kMin) return std::numeric_limits<std::int32_t>::min();
  if (lower >= kMax) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(lower);
}

std::int32_t HalfOf(std::int32_t amount) { return RoundToInt(amount / 2.0); }

bool BoxToRect(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height, RECT& rect) {
  const std::int64_t right = std::int64_t{left} + width;
  const std::int64_t bottom = std::int64_t{top} + height;
  if (right < std::numeric_limits<std::int32_t>::min() || right > std::numeric_limits<std::int32_t>::max() ||
      bottom < std::numeric_limits<std::int32_t>::min() || bottom > std::numeric_limits<std::int32_t>::max())
    return false;
  rect = RECT{left, top, static_cast<LONG>(right), static_cast<LONG>(bottom)};
  return true;
}

// --- window text and box

std::string GetWindowCaption(HWND hWnd) {
  const int n = GetWindowTextLengthA(hWnd);
  if (n <= 0) return {};
  std::string buffer(static_cast<std::size_t>(n) + 1, '\0');
  const int got = GetWindowTextA(hWnd, buffer.data(), n + 1);
  // The text may have shrunk between the two calls; keep only what was copied.
  buffer.resize(got > 0 && got <= n ? static_cast<std::size_t>(got) : 0);
  return buffer;
}

std::int32_t GetWindowBox(HWND hWnd, SkinBox& box) {
  RECT r{0, 0, 0, 0};
  const BOOL ok = GetWindowRect(hWnd, &r);
  if (!ok) r = RECT{0, 0, 0, 0};
  box.Left = r.left;
  box.Top = r.top;
  box.Right = r.right;
  box.Bottom = r.bottom;
  box.Width = static_cast<std::int32_t>(std::int64_t{r.right} - r.left);
  box.Height = static_cast<std::int32_t>(std::int64_t{r.bottom} - r.top);
  return ok;
}

// --- fills, frames, text

std::int32_t DrawTextInBox(HDC hDC, const std::string& text, std::int32_t left, std::int32_t top,
                           std::int32_t width, std::int32_t height, UINT format) {
  RECT rect;
  if (!BoxToRect(left, top, width, height, rect)) return 0;
  return DrawTextA(hDC, text.c_str(), -1, &rect, format);
}

namespace {

template <int (*Paint)(HDC, const RECT*, HBRUSH)>
std::int32_t WithSolidBrush(HDC hDC, std::int32_t left, std::int32_t top, std::int32_t width,
                            std::int32_t height, COLORREF colour) {
  RECT rect;
  if (!BoxToRect(left, top, width, height, rect)) return 0;
  HBRUSH brush = CreateSolidBrush(colour);
  const int result = Paint(hDC, &rect, brush);
  if (brush) DeleteObject(brush);
  return result;
}

}  // namespace

std::int32_t FillBox(HDC hDC, std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height,
                     COLORREF colour) {
  return WithSolidBrush<FillRect>(hDC, left, top, width, height, colour);
}

std::int32_t FrameBox(HDC hDC, std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height,
                      COLORREF colour) {
  return WithSolidBrush<FrameRect>(hDC, left, top, width, height, colour);
}

std::int32_t DrawFocusBox(HDC hDC, std::int32_t left, std::int32_t top, std::int32_t width,
                          std::int32_t height) {
  RECT rect;
  if (!BoxToRect(left, top, width, height, rect)) return 0;
  return DrawFocusRect(hDC, &rect);
}

// --- frame thickness

std::int32_t GetBorderSize(HWND hWnd, std::int32_t& x, std::int32_t& y) {
  RECT window{0, 0, 0, 0}, client{0, 0, 0, 0};
  GetWindowRect(hWnd, &window);
  GetClientRect(hWnd, &client);
  std::int64_t w = (std::int64_t{window.right} - window.left) - (std::int64_t{client.right} - client.left);
  std::int64_t h = (std::int64_t{window.bottom} - window.top) - (std::int64_t{client.bottom} - client.top);
  const DWORD style = static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE));
  if (style & WS_VSCROLL) w -= GetSystemMetrics(SM_CXVSCROLL);
  if (style & WS_HSCROLL) h -= GetSystemMetrics(SM_CYHSCROLL);
  x = RoundToInt(static_cast<double>(w) / 2.0);
  y = RoundToInt(static_cast<double>(h) / 2.0);
  return 1;
}

// --- memory DCs

HDC CreateMemoryDC(std::int32_t width, std::int32_t height) {
  HDC display = CreateDCA("DISPLAY", "", "", nullptr);
  if (!display) return nullptr;
  HDC dc = CreateCompatibleDC(display);
  if (!dc) {
    DeleteDC(display);
    return nullptr;
  }
  HBITMAP bitmap = CreateCompatibleBitmap(display, width, height);
  if (!bitmap) {
    DeleteDC(dc);
    DeleteDC(display);
    return nullptr;
  }
  // The placeholder bitmap the selection hands back is the DC's own; from here the DC owns ours.
  HGDIOBJ placeholder = SelectObject(dc, bitmap);
  if (placeholder) DeleteObject(placeholder);
  DeleteDC(display);
  return dc;
}

}  // namespace skin
