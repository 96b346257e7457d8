// Mouse messages. The hover, press and leave looks of push buttons, combo boxes, check boxes,
// option buttons and headers are not in the engine yet: until they are, each of these handlers
// passes its message on and changes nothing.
#include "skin/wndproc/skin_wndproc.h"

namespace skin {

LRESULT OnMouseMove(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return HandOn(previous, hWnd, msg, wParam, lParam);
}

LRESULT OnLButtonDown(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return HandOn(previous, hWnd, msg, wParam, lParam);
}

LRESULT OnLButtonUp(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return HandOn(previous, hWnd, msg, wParam, lParam);
}

LRESULT OnLButtonDblClk(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return HandOn(previous, hWnd, msg, wParam, lParam);
}

LRESULT OnMouseLeave(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return HandOn(previous, hWnd, msg, wParam, lParam);
}

}  // namespace skin
