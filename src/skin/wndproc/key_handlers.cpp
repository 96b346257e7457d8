// Keyboard messages. The space-key press and release looks of push buttons, check boxes and option
// buttons are not in the engine yet: until they are, both handlers pass the message on unchanged.
#include "skin/wndproc/skin_wndproc.h"

namespace skin {

LRESULT OnKeyDown(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return HandOn(previous, hWnd, msg, wParam, lParam);
}

LRESULT OnKeyUp(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return HandOn(previous, hWnd, msg, wParam, lParam);
}

}  // namespace skin
