// Mouse messages: handed to the control kinds that change their look under the mouse (push buttons,
// combo boxes, drive lists, check boxes, option buttons, headers); every other window only hands on.
#include "skin/class_groups.h"
#include "skin/wndproc/control_messages.h"
#include "skin/wndproc/skin_wndproc.h"

namespace skin {

LRESULT OnMouseMove(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return RouteToKind(WindowGroup(hWnd), previous, hWnd, msg, wParam, lParam);
}

LRESULT OnLButtonDown(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return RouteToKind(WindowGroup(hWnd), previous, hWnd, msg, wParam, lParam);
}

LRESULT OnLButtonUp(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return RouteToKind(WindowGroup(hWnd), previous, hWnd, msg, wParam, lParam);
}

LRESULT OnLButtonDblClk(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // A double click is a second press only where a press has a look of its own without the toggle
  // or drop-down work the control does on it.
  const ClassGroup group = WindowGroup(hWnd);
  if (group == ClassGroup::PushButton || group == ClassGroup::Header)
    return RouteToKind(group, previous, hWnd, msg, wParam, lParam);
  return HandOn(previous, hWnd, msg, wParam, lParam);
}

LRESULT OnMouseLeave(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return RouteToKind(WindowGroup(hWnd), previous, hWnd, msg, wParam, lParam);
}

}  // namespace skin
