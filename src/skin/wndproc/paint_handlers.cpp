// WM_PAINT and WM_NCPAINT: the push button's face in place of its own drawing, and the flat border
// of sunken-edge windows over the platform's 3-D one.
#include "skin/button_faces.h"
#include "skin/class_groups.h"
#include "skin/primitives.h"
#include "skin/skin_install.h"
#include "skin/skin_props.h"
#include "skin/skin_types.h"
#include "skin/window_dc.h"
#include "skin/wndproc/skin_wndproc.h"

namespace skin {
namespace {

constexpr COLORREF kBorder = 0x00D5A554;
constexpr COLORREF kDisabledBorder = 0x00E9CFA4;
constexpr LONG kNotPushButtonBits = 0x2 | 0x4;
constexpr std::int32_t kOpaque = 255;

LRESULT PaintPushButton(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Check boxes and radio buttons of the button class keep their own drawing.
  if (GetIntProp(hWnd, kOldStyleProp) & kNotPushButtonBits)
    return HandOn(previous, hWnd, msg, wParam, lParam);
  // A fade in progress ends here with its face shown fully.
  StopHoverTimer(hWnd);
  SetIntProp(hWnd, kAlphaLevelProp, kOpaque);
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(hWnd, &ps);
  PaintButton(hWnd, dc);
  EndPaint(hWnd, &ps);
  return 0;
}

// The sunken edge replaced by one line in the border colour and, inside it, frames in the client's
// background colour as thick as the frame is.
void DrawFlatBorder(HWND hWnd) {
  std::int32_t bx = 0;
  std::int32_t by = 0;
  GetBorderSize(hWnd, bx, by);
  SkinBox box;
  GetWindowBox(hWnd, box);
  ScopedWindowDC windowDC(hWnd);
  ScopedWindowDC clientDC(hWnd, /*client=*/true);
  FrameBox(windowDC.get(), 0, 0, box.Width, box.Height, IsWindowEnabled(hWnd) ? kBorder : kDisabledBorder);
  for (std::int32_t d = 1; d <= bx; ++d)
    FrameBox(windowDC.get(), d, d, box.Width - d - 1, box.Height - d - 1, GetBkColor(clientDC.get()));
  clientDC.Release();
  windowDC.Release();
}

}  // namespace

LRESULT OnPaint(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (WindowGroup(hWnd)) {
    case ClassGroup::PushButton:
      return PaintPushButton(previous, hWnd, msg, wParam, lParam);
    default:
      // Combo boxes, drive lists, check boxes, option buttons, lists, progress bars, headers and
      // grids get their skinned paint with their painters; until then they paint themselves.
      return HandOn(previous, hWnd, msg, wParam, lParam);
  }
}

LRESULT OnNcPaint(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (WindowGroup(hWnd)) {
    case ClassGroup::ProgressBar:
      // Drawn with the progress-bar painter, which is not in the engine yet.
      return HandOn(previous, hWnd, msg, wParam, lParam);
    case ClassGroup::DataList:
      return HandOn(previous, hWnd, msg, wParam, lParam);
    default: {
      const LRESULT result = HandOn(previous, hWnd, msg, wParam, lParam);
      if (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) DrawFlatBorder(hWnd);
      return result;
    }
  }
}

}  // namespace skin
