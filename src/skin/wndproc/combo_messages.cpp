// Combo boxes and drive lists: the skinned drop-down button is hot under the mouse and pressed
// while the left button is down on it (or while the list is open, which the painter finds out
// itself). An editable combo box has a text part, where the button keeps its normal look.
#include "skin/painters.h"
#include "skin/primitives.h"
#include "skin/skin_props.h"
#include "skin/skin_types.h"
#include "skin/wndproc/control_messages.h"
#include "skin/wndproc/skin_wndproc.h"

namespace skin {
namespace {

// Style bit 0x1 is set for the simple and the drop-down-list kinds: no text part to tell apart.
constexpr LONG kNoTextPartBit = 0x1;

// The drop-down button of an editable combo box: as wide as a scroll bar, 2 pixels in from the
// right, top and bottom edges, bounds included.
bool InButtonArea(HWND hWnd, std::int32_t x, std::int32_t y) {
  SkinBox box;
  GetWindowBox(hWnd, box);
  const std::int32_t c = GetSystemMetrics(SM_CXVSCROLL);
  return box.Width - c - 2 <= x && x <= box.Width - 2 && 2 <= y && y <= box.Height - 2;
}

}  // namespace

LRESULT ComboMessage(ClassGroup group, WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = HandOn(previous, hWnd, msg, wParam, lParam);
  if (!StillSkinned(hWnd)) return result;
  const bool wholeIsButton =
      group == ClassGroup::DriveList || (GetWindowLongA(hWnd, GWL_STYLE) & kNoTextPartBit) != 0;
  const bool held = (wParam & MK_LBUTTON) != 0;
  std::int32_t state = kNormal;
  switch (msg) {
    case WM_MOUSEMOVE:
      NoteMouseInside(hWnd);
      if (wholeIsButton || InButtonArea(hWnd, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))
        state = held ? kPressed : kHot;
      break;
    case WM_LBUTTONDOWN:
      if (!wholeIsButton && !InButtonArea(hWnd, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) return result;
      state = kPressed;
      break;
    case WM_LBUTTONUP:
      state = IsUnderCursor(hWnd) ? kHot : kNormal;
      break;
    case WM_MOUSELEAVE:
      SetIntProp(hWnd, kMouseFlagProp, 0);
      break;
    case WM_WINDOWPOSCHANGING:
      break;
    default:
      return result;
  }
  PaintComboButton(hWnd, nullptr, state, VbFalse);
  return result;
}

}  // namespace skin
