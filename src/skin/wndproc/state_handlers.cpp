// Focus, enable, size, timer and position messages. The push-button fade, the re-rendered faces on
// focus and resize, and the combo boxes' position rules are not in the engine yet: until they are,
// each of these handlers passes its message on unchanged. (No fade timer is ever started meanwhile.)
#include "skin/wndproc/skin_wndproc.h"

namespace skin {

LRESULT OnSize(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return HandOn(previous, hWnd, msg, wParam, lParam);
}

LRESULT OnSetFocus(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return HandOn(previous, hWnd, msg, wParam, lParam);
}

LRESULT OnKillFocus(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return HandOn(previous, hWnd, msg, wParam, lParam);
}

LRESULT OnEnable(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return HandOn(previous, hWnd, msg, wParam, lParam);
}

LRESULT OnTimer(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return HandOn(previous, hWnd, msg, wParam, lParam);
}

LRESULT OnWindowPosChanging(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return HandOn(previous, hWnd, msg, wParam, lParam);
}

}  // namespace skin
