// Routing duties that belong to no control kind: adopting windows that appear after start-up, and
// the repaint of check boxes and option buttons after a left-button release.
#include "skin/class_groups.h"
#include "skin/painters.h"
#include "skin/skin_install.h"
#include "skin/skin_props.h"
#include "skin/wndproc/skin_wndproc.h"

namespace skin {

LRESULT OnActivate(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Adopted before the previous procedure runs, so that the window activates already skinned.
  if (HWND other = reinterpret_cast<HWND>(lParam)) {
    if (GetParent(other) == hWnd || WindowGroup(other) == ClassGroup::Form) SkinWindow(other);
  }
  return HandOn(previous, hWnd, msg, wParam, lParam);
}

BOOL CALLBACK RepaintTogglesProc(HWND hWnd, LPARAM) {
  if (!GetPreviousProc(hWnd)) return TRUE;
  switch (WindowGroup(hWnd)) {
    case ClassGroup::CheckBox:
      PaintCheckBox(hWnd, 0, VbTrue);
      break;
    case ClassGroup::OptionButton:
      // Forced: a click elsewhere in the group unchecked this one without telling the skin.
      PaintOptionButton(hWnd, 0, VbTrue);
      break;
    default:
      break;
  }
  return TRUE;
}

}  // namespace skin
