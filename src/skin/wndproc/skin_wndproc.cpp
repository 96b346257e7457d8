#include "skin/wndproc/skin_wndproc.h"

#include "skin/skin_install.h"
#include "skin/skin_props.h"

namespace skin {
namespace {

// Hand on first: the owner or combo box answers as usual, then the new window comes under the skin
// (SkinWindow leaves an already skinned one alone).
LRESULT HandOnThenAdopt(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = HandOn(previous, hWnd, msg, wParam, lParam);
  if (lParam) SkinWindow(reinterpret_cast<HWND>(lParam));
  return result;
}

}  // namespace

LRESULT HandOn(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(previous, hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK SkinWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!hWnd) return 0;
  const WNDPROC previous = GetPreviousProc(hWnd);
  if (!previous) return DefWindowProcA(hWnd, msg, wParam, lParam);

  switch (msg) {
    case WM_DESTROY:
      // Unskinned before the previous procedure hears of it, so no handler runs on a dying window.
      UnskinWindow(hWnd);
      return HandOn(previous, hWnd, msg, wParam, lParam);
    case WM_SIZE:
    case WM_ENABLE:
    case WM_TIMER:
      return ToPushButtons(previous, hWnd, msg, wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      return ToFocusKinds(previous, hWnd, msg, wParam, lParam);
    case WM_KEYDOWN:
    case WM_KEYUP:
      return ToSpaceKeyKinds(previous, hWnd, msg, wParam, lParam);
    case WM_WINDOWPOSCHANGING:
      return ToComboKinds(previous, hWnd, msg, wParam, lParam);
    case WM_ACTIVATE:
      return OnActivate(previous, hWnd, msg, wParam, lParam);
    case WM_PAINT:
      return OnPaint(previous, hWnd, msg, wParam, lParam);
    case WM_NCPAINT:
      return OnNcPaint(previous, hWnd, msg, wParam, lParam);
    case WM_ENTERIDLE:
    case WM_CTLCOLORLISTBOX:
      return HandOnThenAdopt(previous, hWnd, msg, wParam, lParam);
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_MOUSELEAVE:
      return ToMouseKinds(previous, hWnd, msg, wParam, lParam);
    case WM_LBUTTONUP: {
      const LRESULT result = ToMouseKinds(previous, hWnd, msg, wParam, lParam);
      HWND parent = GetParent(hWnd);
      EnumChildWindows(parent ? parent : hWnd, RepaintTogglesProc, 0);
      return result;
    }
    case WM_LBUTTONDBLCLK:
      return ToDoubleClickKinds(previous, hWnd, msg, wParam, lParam);
    default:
      return HandOn(previous, hWnd, msg, wParam, lParam);
  }
}

}  // namespace skin
