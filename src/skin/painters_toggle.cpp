// The check square of check boxes and the round mark of option buttons, both at the left end of
// the control and centred in its height, the size of the system's menu check mark.
#include "platform/scoped_handles.h"
#include "skin/painters.h"
#include "skin/primitives.h"
#include "skin/skin_blit.h"
#include "skin/skin_props.h"
#include "skin/skin_state.h"
#include "skin/skin_types.h"

namespace skin {
namespace {

constexpr LRESULT kChecked = 1;
constexpr LRESULT kIndeterminate = 2;

constexpr COLORREF kSquareBackground = 0x00FFFFFF;
constexpr COLORREF kSquareFrame = 0x00D5A554;
constexpr COLORREF kSquareFramePressed = 0x00C48639;
constexpr COLORREF kSquareFrameDisabled = 0x00E9CFA4;

// Mark skin: the check mark (9 x 8), the indeterminate square (7 x 7) and the option dot (5 x 5),
// each with its disabled twin 9 pixels to the right.
constexpr int kDisabledShift = 9;
constexpr int kCheckW = 9, kCheckH = 8;
constexpr int kMixedX = 1, kMixedY = 9, kMixedSize = 7;
constexpr int kDotX = 2, kDotY = 18, kDotSize = 5;
// Box skin: the hover and pressed interiors of the square, and the option circles (13 x 13 each,
// normal, hover, pressed, disabled one under the other).
constexpr int kInteriorX = 1, kInteriorW = 11, kInteriorH = 5;
constexpr int kHoverInteriorY = 17, kPressedInteriorY = 30;
constexpr int kCircle = 13;
constexpr int kCircleBorder = 5;
constexpr int kDisabledCircleY = 39;

bool Skips(HWND hWnd, std::int32_t state, VbBool force) {
  return state == GetIntProp(hWnd, kOldStateProp) && force == VbFalse;
}

// The check box's square, composed off-screen at cw x ch.
void ComposeSquare(HDC mem, std::int32_t cw, std::int32_t ch, std::int32_t state, bool enabled,
                   LRESULT check) {
  FillBox(mem, 0, 0, cw, ch, kSquareBackground);
  // Disabled squares show neither hover nor pressed: only the pale frame and the pale marks.
  if (!enabled) {
    FrameBox(mem, 0, 0, cw, ch, kSquareFrameDisabled);
  } else {
    FrameBox(mem, 0, 0, cw, ch, state == kPressed ? kSquareFramePressed : kSquareFrame);
    if (state == kHot || state == kPressed) {
      const int sy = state == kHot ? kHoverInteriorY : kPressedInteriorY;
      StretchBlt(mem, 1, 1, cw - 2, ch - 2, BoxSkinDC, kInteriorX, sy, kInteriorW, kInteriorH, SRCCOPY);
    }
  }
  const int shift = enabled ? 0 : kDisabledShift;
  if (check == kChecked) {
    TransparentCopy(mem, HalfOf(cw - kCheckW), HalfOf(ch - kCheckH), kCheckW, kCheckH, MarkSkinDC, shift, 0,
                    kKeyColour, nullptr);
  } else if (check == kIndeterminate) {
    TransparentCopy(mem, HalfOf(cw - kMixedSize), HalfOf(ch - kMixedSize), kMixedSize, kMixedSize, MarkSkinDC,
                    kMixedX + shift, kMixedY, kKeyColour, nullptr);
  }
}

}  // namespace

std::int32_t PaintCheckBox(HWND hWnd, std::int32_t state, VbBool force) {
  if (Skips(hWnd, state, force)) return 0;
  SetIntProp(hWnd, kOldStateProp, state);

  const std::int32_t cw = GetSystemMetrics(SM_CXMENUCHECK);
  const std::int32_t ch = GetSystemMetrics(SM_CYMENUCHECK);
  SkinBox box;
  GetWindowBox(hWnd, box);
  const LRESULT check = SendMessageA(hWnd, BM_GETCHECK, 0, 0);

  win32::OwnedDc mem(CreateMemoryDC(cw, ch));
  win32::WindowDc windowDC(hWnd);
  ComposeSquare(mem.get(), cw, ch, state, IsWindowEnabled(hWnd) != FALSE, check);
  BitBlt(windowDC.get(), 0, HalfOf(box.Height - ch), cw, ch, mem.get(), 0, 0, SRCCOPY);
  windowDC.reset();
  mem.reset();
  return 1;
}

std::int32_t PaintOptionButton(HWND hWnd, std::int32_t state, VbBool force) {
  if (Skips(hWnd, state, force)) return 0;
  SetIntProp(hWnd, kOldStateProp, state);

  SkinBox box;
  GetWindowBox(hWnd, box);
  const std::int32_t cw = GetSystemMetrics(SM_CXMENUCHECK);
  const std::int32_t ch = GetSystemMetrics(SM_CYMENUCHECK);
  const std::int32_t top = HalfOf(box.Height - ch);
  const LRESULT check = SendMessageA(hWnd, BM_GETCHECK, 0, 0);
  win32::WindowDc windowDC(hWnd);
  HDC dc = windowDC.get();

  // Drawn straight onto the window: the key-coloured corners of the circle keep the control's own
  // background.
  const bool enabled = IsWindowEnabled(hWnd) != FALSE;
  if (enabled && state >= 0 && state <= kPressed) {
    DrawSkinFrame(dc, 0, top, cw, ch, BoxSkinDC, 0, kCircle * state, kCircle, kCircle, kCircleBorder,
                  kCircleBorder, kCircleBorder, kCircleBorder, kKeyColour);
  } else if (!enabled) {
    DrawSkinFrame(dc, 0, top, cw, ch, BoxSkinDC, 0, kDisabledCircleY, kCircle, kCircle, kCircleBorder,
                  kCircleBorder, kCircleBorder, kCircleBorder, kKeyColour);
  }
  if (check == kChecked) {
    // Rounded as a whole: half of (ch - 5) is not rounded before top is added.
    const std::int32_t y = RoundToInt((ch - kDotSize) / 2.0 + top);
    TransparentCopy(dc, HalfOf(cw - kDotSize), y, kDotSize, kDotSize, MarkSkinDC,
                    kDotX + (enabled ? 0 : kDisabledShift), kDotY, kKeyColour, nullptr);
  }
  return 1;
}

}  // namespace skin
