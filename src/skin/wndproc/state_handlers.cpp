// Focus, enable, size, timer and position messages. Push buttons fade, re-render and reshape on
// them; option buttons redraw their mark on focus changes; combo boxes and drive lists show their
// normal button when moved. Every other window only hands on.
#include "skin/class_groups.h"
#include "skin/wndproc/control_messages.h"
#include "skin/wndproc/skin_wndproc.h"

namespace skin {
namespace {

LRESULT ToPushButtons(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (WindowGroup(hWnd) == ClassGroup::PushButton)
    return PushButtonMessage(previous, hWnd, msg, wParam, lParam);
  return HandOn(previous, hWnd, msg, wParam, lParam);
}

LRESULT ToFocusKinds(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Check boxes draw no focus of their own in the skin, so only these two kinds care.
  switch (const ClassGroup group = WindowGroup(hWnd)) {
    case ClassGroup::PushButton:
    case ClassGroup::OptionButton:
      return RouteToKind(group, previous, hWnd, msg, wParam, lParam);
    default:
      return HandOn(previous, hWnd, msg, wParam, lParam);
  }
}

}  // namespace

LRESULT OnSize(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ToPushButtons(previous, hWnd, msg, wParam, lParam);
}

LRESULT OnSetFocus(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ToFocusKinds(previous, hWnd, msg, wParam, lParam);
}

LRESULT OnKillFocus(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ToFocusKinds(previous, hWnd, msg, wParam, lParam);
}

LRESULT OnEnable(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ToPushButtons(previous, hWnd, msg, wParam, lParam);
}

LRESULT OnTimer(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ToPushButtons(previous, hWnd, msg, wParam, lParam);
}

LRESULT OnWindowPosChanging(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (const ClassGroup group = WindowGroup(hWnd)) {
    case ClassGroup::ComboBox:
    case ClassGroup::DriveList:
      return ComboMessage(group, previous, hWnd, msg, wParam, lParam);
    default:
      return HandOn(previous, hWnd, msg, wParam, lParam);
  }
}

}  // namespace skin
