// WM_PAINT of combo boxes, drive lists, data lists, drop-down lists and grids: the control paints
// itself (except the editable combo box), then the skin lays its two-line border and, for the
// combo kinds, its drop-down button over the frame.
#include "platform/scoped_handles.h"
#include "skin/painters.h"
#include "skin/primitives.h"
#include "skin/skin_props.h"
#include "skin/skin_types.h"
#include "skin/wndproc/paint_branches.h"
#include "skin/wndproc/skin_wndproc.h"

namespace skin {
namespace {

// Style bit 1 clear is the editable drop-down kind, which the skin paints without its procedure.
constexpr LONG kListOrSimpleBit = 0x1;

// Outer line in the border colour, inner line in white.
void DrawControlBorder(HDC dc, HWND hWnd, const SkinBox& box) {
  FrameBox(dc, 0, 0, box.Width, box.Height, BorderColourOf(hWnd));
  FrameBox(dc, 1, 1, box.Width - 2, box.Height - 2, kWhite);
}

// Border and drop-down button over what the previous procedure drew.
void DrawComboFrame(HWND hWnd) {
  std::int32_t state = GetIntProp(hWnd, kOldStateProp);
  SkinBox box;
  GetWindowBox(hWnd, box);
  win32::WindowDc windowDC(hWnd);
  DrawControlBorder(windowDC.get(), hWnd, box);
  PaintComboButton(hWnd, windowDC.get(), state, VbTrue);
}

}  // namespace

COLORREF BorderColourOf(HWND hWnd) { return IsWindowEnabled(hWnd) ? kBorderColour : kDisabledBorderColour; }

LRESULT PaintComboBox(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (GetWindowLongA(hWnd, GWL_STYLE) & kListOrSimpleBit) {
    const LRESULT result = HandOn(previous, hWnd, msg, wParam, lParam);
    DrawComboFrame(hWnd);
    return result;
  }
  std::int32_t state = GetIntProp(hWnd, kOldStateProp);
  SkinBox box;
  GetWindowBox(hWnd, box);
  win32::PaintDc dc(hWnd);
  FillBox(dc.get(), 0, 0, box.Width, box.Height, kWhite);
  FrameBox(dc.get(), 0, 0, box.Width, box.Height, BorderColourOf(hWnd));
  PaintComboButton(hWnd, dc.get(), state, VbTrue);
  return 0;
}

LRESULT PaintDriveList(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = HandOn(previous, hWnd, msg, wParam, lParam);
  DrawComboFrame(hWnd);
  return result;
}

LRESULT PaintListFrame(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = HandOn(previous, hWnd, msg, wParam, lParam);
  SkinBox box;
  GetWindowBox(hWnd, box);
  win32::WindowDc windowDC(hWnd);
  DrawControlBorder(windowDC.get(), hWnd, box);
  return result;
}

LRESULT PaintGrid(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = HandOn(previous, hWnd, msg, wParam, lParam);
  if (GetWindowLongA(hWnd, GWL_STYLE) & WS_BORDER) {
    SkinBox box;
    GetWindowBox(hWnd, box);
    win32::WindowDc windowDC(hWnd);
    FrameBox(windowDC.get(), 0, 0, box.Width, box.Height, BorderColourOf(hWnd));
  }
  return result;
}

}  // namespace skin
