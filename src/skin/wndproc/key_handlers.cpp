// Keyboard messages: the space key presses and releases push buttons, check boxes and option
// buttons like the left mouse button; every other window only hands on.
#include "skin/class_groups.h"
#include "skin/wndproc/control_messages.h"
#include "skin/wndproc/skin_wndproc.h"

namespace skin {
namespace {

LRESULT ToSpaceKeyKinds(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (const ClassGroup group = WindowGroup(hWnd)) {
    case ClassGroup::PushButton:
    case ClassGroup::CheckBox:
    case ClassGroup::OptionButton:
      return RouteToKind(group, previous, hWnd, msg, wParam, lParam);
    default:
      return HandOn(previous, hWnd, msg, wParam, lParam);
  }
}

}  // namespace

LRESULT OnKeyDown(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ToSpaceKeyKinds(previous, hWnd, msg, wParam, lParam);
}

LRESULT OnKeyUp(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ToSpaceKeyKinds(previous, hWnd, msg, wParam, lParam);
}

}  // namespace skin
