// Push buttons: the fade between faces and the messages that pick the face to fade to.
//
// A face is never switched abruptly. "OLDSTATE" names the face, "ALPHALEVEL" the opacity of the
// next blend, and every tick of the 15 ms timer blends the face once more at a higher opacity until
// it shows fully. A later event only changes the target and the level: the running timer carries on.
#include "skin/wndproc/button_messages.h"
#include "platform/scoped_handles.h"

#include "skin/button_faces.h"
#include "skin/primitives.h"
#include "skin/skin_install.h"
#include "skin/skin_props.h"
#include "skin/skin_types.h"
#include "skin/wndproc/control_messages.h"
#include "skin/wndproc/skin_wndproc.h"

namespace skin {
namespace {

constexpr UINT_PTR kHoverTimerId = 1;
constexpr UINT kHoverTimerMs = 15;
constexpr std::int32_t kInvisible = 0;
constexpr std::int32_t kOpaque = 255;
constexpr std::int32_t kFadeStep = 3;
// Where a fade starts that should not begin from nothing: the hover face is left half-shown when
// the mouse goes, and a release already shows some of the normal face.
constexpr std::int32_t kLeaveLevel = 140;
constexpr std::int32_t kReleaseLevel = 60;

void Target(HWND hWnd, std::int32_t face, std::int32_t level) {
  SetIntProp(hWnd, kOldStateProp, face);
  SetIntProp(hWnd, kAlphaLevelProp, level);
}

void PaintNow(HWND hWnd) { PaintButton(hWnd, nullptr); }

// The pressed face at once; the level left at 0 makes whatever fades next start from nothing.
void Press(HWND hWnd) {
  StopHoverTimer(hWnd);
  Target(hWnd, kPressed, kOpaque);
  PaintNow(hWnd);
  SetIntProp(hWnd, kAlphaLevelProp, kInvisible);
}

void Release(HWND hWnd, std::int32_t level) {
  SetIntProp(hWnd, kMouseFlagProp, 0);
  Target(hWnd, kNormal, level);
  StartHoverTimer(hWnd);
}

LRESULT FadeStep(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Any timer of the button drives the fade; the skin starts only the one.
  std::int32_t level = GetIntProp(hWnd, kAlphaLevelProp);
  PaintNow(hWnd);
  level += kFadeStep;
  if (level > kOpaque) {
    StopHoverTimer(hWnd);
    level = kInvisible;
  }
  SetIntProp(hWnd, kAlphaLevelProp, level);
  return HandOn(previous, hWnd, msg, wParam, lParam);
}

void MouseMoved(HWND hWnd) {
  if (GetIntProp(hWnd, kMouseFlagProp) == 0) {
    SetIntProp(hWnd, kMouseFlagProp, 1);
    TrackMouseLeave(hWnd);
    Target(hWnd, kHot, kInvisible);
    StartHoverTimer(hWnd);
  } else if (!IsUnderCursor(hWnd)) {
    // Dragged off while held: no fade, the current (pressed) face stays fully shown.
    StopHoverTimer(hWnd);
    SetIntProp(hWnd, kAlphaLevelProp, kOpaque);
    PaintNow(hWnd);
  }
}

void MouseLeft(HWND hWnd) {
  SetIntProp(hWnd, kMouseFlagProp, 0);
  Target(hWnd, kHot, kLeaveLevel);
  PaintNow(hWnd);
  Target(hWnd, kNormal, kInvisible);
  StartHoverTimer(hWnd);
}

// New face bitmaps at the new size. A bitmap that cannot be made or selected leaves the old one in
// its DC, and "BMP" keeps naming that one: removal must free exactly what the DCs hold.
void RebuildFaces(HWND hWnd) {
  SkinBox box;
  {
    win32::WindowDc windowDC(hWnd);
    GetWindowBox(hWnd, box);
    for (int i = 0; i < 4; ++i) {
      HDC face = static_cast<HDC>(GetHandleProp(hWnd, FaceDCProp(i)));
      HBITMAP fresh = CreateCompatibleBitmap(windowDC.get(), box.Width, box.Height);
      HGDIOBJ old = face && fresh ? SelectObject(face, fresh) : nullptr;
      if (!old) {
        if (fresh) DeleteObject(fresh);
        continue;
      }
      DeleteObject(old);
      SetHandleProp(hWnd, FaceBitmapProp(i), fresh);
    }
    RenderButtonFaces(hWnd);
  }
  RoundButtonCorners(hWnd);
}

}  // namespace

LRESULT PushButtonMessage(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // The fade step comes before the button's own procedure hears of the tick; WM_PAINT is the paint
  // handler's.
  if (msg == WM_TIMER) return FadeStep(previous, hWnd, msg, wParam, lParam);

  const LRESULT result = HandOn(previous, hWnd, msg, wParam, lParam);
  if (!StillSkinned(hWnd)) return result;
  switch (msg) {
    case WM_MOUSEMOVE:
      MouseMoved(hWnd);
      break;
    case WM_MOUSELEAVE:
      MouseLeft(hWnd);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      Press(hWnd);
      break;
    case WM_LBUTTONUP:
      Release(hWnd, kReleaseLevel);
      break;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) Press(hWnd);
      break;
    case WM_KEYUP:
      if (wParam == VK_SPACE) Release(hWnd, kInvisible);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      // The focus rectangle is part of every face, so all four are drawn again and faded in anew.
      RenderButtonFaces(hWnd);
      SetIntProp(hWnd, kAlphaLevelProp, kInvisible);
      StartHoverTimer(hWnd);
      break;
    case WM_ENABLE:
      SetIntProp(hWnd, kOldStateProp, wParam ? kNormal : kDisabled);
      PaintNow(hWnd);
      break;
    case WM_SIZE:
      RebuildFaces(hWnd);
      break;
    default:
      break;
  }
  return result;
}

// The fade timer.

UINT_PTR StartHoverTimer(HWND hWnd) {
  if (GetIntProp(hWnd, kTimerIdProp) != 0) return 0;
  const UINT_PTR id = SetTimer(hWnd, kHoverTimerId, kHoverTimerMs, nullptr);
  SetIntProp(hWnd, kTimerIdProp, static_cast<std::int32_t>(id));
  return id;
}

BOOL StopHoverTimer(HWND hWnd) {
  const std::int32_t id = GetIntProp(hWnd, kTimerIdProp);
  if (id == 0) return FALSE;
  const BOOL result = KillTimer(hWnd, static_cast<UINT_PTR>(id));
  SetIntProp(hWnd, kTimerIdProp, 0);
  return result;
}

}  // namespace skin
