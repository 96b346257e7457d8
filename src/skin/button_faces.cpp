#include "skin/button_faces.h"

#include <optional>

#include "platform/scoped_handles.h"
#include "skin/primitives.h"
#include "skin/skin_blit.h"
#include "skin/skin_props.h"
#include "skin/skin_state.h"
#include "skin/skin_types.h"

namespace skin {
namespace {

// Frames of the button skin are 7 x 21, one under the other, with 3 x 3 corners kept as drawn.
constexpr int kFrameWidth = 7;
constexpr int kFrameHeight = 21;
constexpr int kFrameBorder = 3;
constexpr COLORREF kDisabledText = 0x00968A79;
constexpr COLORREF kText = 0x00000000;
constexpr int kTextInset = 2;
// The corner ellipse of a push button's rounded region.
constexpr int kCornerSize = 3;

}  // namespace

void RenderButtonFaces(HWND hWnd) {
  SkinBox box;
  GetWindowBox(hWnd, box);
  const std::string caption = GetWindowCaption(hWnd);
  for (int i = 0; i < 4; ++i) {
    HDC dc = static_cast<HDC>(GetHandleProp(hWnd, FaceDCProp(i)));
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(hWnd, WM_GETFONT, 0, 0));
    if (font) SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    DrawSkinFrame(dc, 0, 0, box.Width, box.Height, ButtonSkinDC, 0, kFrameHeight * i, kFrameWidth,
                  kFrameHeight, kFrameBorder, kFrameBorder, kFrameBorder, kFrameBorder);
    SetTextColor(dc, i == kDisabled ? kDisabledText : kText);
    const std::int32_t innerW = box.Width - 2 * kTextInset;
    const std::int32_t innerH = box.Height - 2 * kTextInset;
    DrawTextInBox(dc, caption, kTextInset, kTextInset, innerW, innerH, kCaptionFormat);
    // Asked per face on purpose: the faces are redrawn whenever the focus comes or goes.
    if (GetFocus() == hWnd) DrawFocusBox(dc, kTextInset, kTextInset, innerW, innerH);
  }
}

std::int32_t PaintButton(HWND hWnd, HDC hDC) {
  if (!IsWindowEnabled(hWnd)) SetIntProp(hWnd, kOldStateProp, kDisabled);
  if (GetIntProp(hWnd, kOldStyleProp) & kNotPushButtonBits) return 0;

  SkinBox box;
  GetWindowBox(hWnd, box);
  const std::int32_t state = GetIntProp(hWnd, kOldStateProp);
  const std::int32_t alpha = GetIntProp(hWnd, kAlphaLevelProp);
  // A state outside 0..3 names no face property and so blends from a 0 DC, which draws nothing.
  HDC face = static_cast<HDC>(GetHandleProp(hWnd, "HDC" + std::to_string(state)));

  std::optional<win32::WindowDc> own;
  HDC target = hDC;
  if (!target) {
    own.emplace(hWnd);
    target = own->get();
  }
  BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(alpha & 0xFF), 0};
  AlphaBlend(target, 0, 0, box.Width, box.Height, face, 0, 0, box.Width, box.Height, blend);
  return 0;
}

void RoundButtonCorners(HWND hWnd) {
  SkinBox box;
  GetWindowBox(hWnd, box);
  HRGN region = CreateRoundRectRgn(0, 0, box.Width + 1, box.Height + 1, kCornerSize, kCornerSize);
  // The window owns the region from here on; if it refuses it, nobody else would free it.
  if (region && !SetWindowRgn(hWnd, region, TRUE)) DeleteObject(region);
}

}  // namespace skin
