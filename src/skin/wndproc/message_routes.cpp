// Which control kinds hear of which messages. The window procedure sends each message straight to
// its route; a route hands the message to the kinds that change their look on it (their own
// handlers in the *_messages.cpp files), and every other window only hands it on.
#include <initializer_list>

#include "skin/class_groups.h"
#include "skin/wndproc/control_messages.h"
#include "skin/wndproc/skin_wndproc.h"

namespace skin {
namespace {

LRESULT ToKindsAmong(std::initializer_list<ClassGroup> kinds, WNDPROC previous, HWND hWnd, UINT msg,
                     WPARAM wParam, LPARAM lParam) {
  const ClassGroup group = WindowGroup(hWnd);
  for (const ClassGroup kind : kinds)
    if (kind == group) return RouteToKind(group, previous, hWnd, msg, wParam, lParam);
  return HandOn(previous, hWnd, msg, wParam, lParam);
}

}  // namespace

LRESULT ToPushButtons(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ToKindsAmong({ClassGroup::PushButton}, previous, hWnd, msg, wParam, lParam);
}

LRESULT ToFocusKinds(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Check boxes draw no focus of their own in the skin, so only these two kinds care.
  return ToKindsAmong({ClassGroup::PushButton, ClassGroup::OptionButton}, previous, hWnd, msg, wParam,
                      lParam);
}

LRESULT ToSpaceKeyKinds(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // The space key presses and releases these like the left mouse button.
  return ToKindsAmong({ClassGroup::PushButton, ClassGroup::CheckBox, ClassGroup::OptionButton}, previous,
                      hWnd, msg, wParam, lParam);
}

LRESULT ToComboKinds(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ToKindsAmong({ClassGroup::ComboBox, ClassGroup::DriveList}, previous, hWnd, msg, wParam, lParam);
}

LRESULT ToMouseKinds(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return RouteToKind(WindowGroup(hWnd), previous, hWnd, msg, wParam, lParam);
}

LRESULT ToDoubleClickKinds(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // A double click is a second press only where a press has a look of its own without the toggle
  // or drop-down work the control does on it.
  return ToKindsAmong({ClassGroup::PushButton, ClassGroup::Header}, previous, hWnd, msg, wParam, lParam);
}

}  // namespace skin
