// The drop-down button of combo boxes and drive lists, drawn over the control's own button.
#include "platform/scoped_handles.h"
#include "skin/painters.h"
#include "skin/primitives.h"
#include "skin/skin_blit.h"
#include "skin/skin_props.h"
#include "skin/skin_state.h"
#include "skin/skin_types.h"

namespace skin {
namespace {

// The drop-down and drop-down-list kinds have a button; the simple kind (style 1) has none.
constexpr LONG kHasButtonBit = 0x2;
constexpr COLORREF kNormalFace = 0x00FFFFFF;
// Combo skin: two face frames of 4 x 18 side by side, then the enabled and disabled arrows (7 x 4).
constexpr int kFaceWidth = 4;
constexpr int kFaceHeight = 18;
constexpr int kArrowX = 8;
constexpr int kArrowWidth = 7;
constexpr int kArrowHeight = 4;
// The arrow is centred over the window's height less the 6 pixels of frames above and below it.
constexpr int kArrowFrames = 6;

}  // namespace

void PaintComboButton(HWND hWnd, HDC hDC, std::int32_t& state, VbBool force) {
  if (SendMessageA(hWnd, CB_GETDROPPEDSTATE, 0, 0) != 0) state = kPressed;
  if (state == GetIntProp(hWnd, kOldStateProp) && force == VbFalse) return;
  // A simple combo box is left as it is, and so is its remembered state.
  if (!(GetWindowLongA(hWnd, GWL_STYLE) & kHasButtonBit)) return;
  SetIntProp(hWnd, kOldStateProp, state);

  SkinBox box;
  GetWindowBox(hWnd, box);
  const std::int32_t bw = GetSystemMetrics(SM_CXVSCROLL) + 1;
  const std::int32_t bh = box.Height - 2;
  win32::OwnedDc memory(CreateMemoryDC(bw, bh));
  HDC mem = memory.get();
  switch (state) {
    case 0:
      FillBox(mem, 0, 0, bw, bh, kNormalFace);
      break;
    case 1:
      DrawSkinFrame(mem, 0, 0, bw, bh, ComboSkinDC, 0, 0, kFaceWidth, kFaceHeight, 2, 1, 1, 1);
      break;
    case kPressed:
      DrawSkinFrame(mem, 0, 0, bw, bh, ComboSkinDC, kFaceWidth, 0, kFaceWidth, kFaceHeight, 2, 1, 1, 1);
      break;
    default:
      break;
  }
  const std::int32_t arrowY = IsWindowEnabled(hWnd) ? 0 : kArrowHeight;
  TransparentCopy(mem, HalfOf(bw - kArrowWidth), HalfOf(box.Height - kArrowFrames), kArrowWidth, kArrowHeight,
                  ComboSkinDC, kArrowX, arrowY, kKeyColour, nullptr);

  win32::TargetDc target(hWnd, hDC);
  // One pixel in from the right, top and bottom edges: exactly over the control's own button.
  BitBlt(target.get(), box.Width - bw - 1, 1, bw, bh, mem, 0, 0, SRCCOPY);
  memory.reset();
  target.reset();
}

}  // namespace skin
