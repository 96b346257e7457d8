// Check boxes and option buttons: hot under the mouse, pressed while the left button or the space
// key is down, normal otherwise. They switch at once, after their own procedure has done the
// checking; an option button also redraws its mark when the focus comes or goes.
#include "skin/painters.h"
#include "skin/skin_props.h"
#include "skin/skin_types.h"
#include "skin/wndproc/control_messages.h"
#include "skin/wndproc/skin_wndproc.h"

namespace skin {
namespace {}  // namespace

LRESULT ToggleMessage(ClassGroup group, WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = HandOn(previous, hWnd, msg, wParam, lParam);
  if (!StillSkinned(hWnd)) return result;
  const bool option = group == ClassGroup::OptionButton;
  auto paint = [&](std::int32_t state, VbBool force) {
    if (option)
      PaintOptionButton(hWnd, state, force);
    else
      PaintCheckBox(hWnd, state, force);
  };
  switch (msg) {
    case WM_MOUSEMOVE:
      NoteMouseInside(hWnd);
      // Forced: the control's own procedure may have drawn over the mark on the way.
      paint(wParam & MK_LBUTTON ? kPressed : kHot, VbTrue);
      break;
    case WM_LBUTTONDOWN:
      paint(kPressed, VbFalse);
      break;
    case WM_LBUTTONUP:
      paint(kNormal, VbFalse);
      break;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) paint(kPressed, VbFalse);
      break;
    case WM_KEYUP:
      if (wParam == VK_SPACE) paint(kNormal, VbFalse);
      break;
    case WM_MOUSELEAVE:
      SetIntProp(hWnd, kMouseFlagProp, 0);
      paint(kNormal, VbFalse);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (option) paint(kNormal, VbTrue);
      break;
    default:
      break;
  }
  return result;
}

}  // namespace skin
