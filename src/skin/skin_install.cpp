// Sections: push-button preparation and removal · entry point · SkinWindow · UnskinWindow ·
// child enumeration
#include "skin/skin_install.h"

#include "platform/scoped_handles.h"
#include "skin/button_faces.h"
#include "skin/class_groups.h"
#include "skin/library_probe.h"
#include "skin/primitives.h"
#include "skin/skin_bitmaps.h"
#include "skin/skin_props.h"
#include "skin/skin_state.h"
#include "skin/wndproc/button_messages.h"
#include "skin/wndproc/skin_wndproc.h"

namespace skin {
namespace {

void Repaint(HWND hWnd) {
  // The frame first, at once, so that it goes through whichever procedure is now installed.
  SendMessageA(hWnd, WM_NCPAINT, 1, 0);
  RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT);
}

// --- push-button preparation and removal

void PreparePushButton(HWND hWnd) {
  {
    win32::WindowDc windowDC(hWnd);
    SkinBox box;
    GetWindowBox(hWnd, box);
    for (int i = 0; i < 4; ++i) {
      HDC face = CreateCompatibleDC(windowDC.get());
      HBITMAP bitmap = CreateCompatibleBitmap(windowDC.get(), box.Width, box.Height);
      HGDIOBJ placeholder = SelectObject(face, bitmap);
      if (placeholder) DeleteObject(placeholder);
      SetHandleProp(hWnd, FaceDCProp(i), face);
      SetHandleProp(hWnd, FaceBitmapProp(i), bitmap);
    }
    RenderButtonFaces(hWnd);
  }
  const LONG style = GetWindowLongA(hWnd, GWL_STYLE);
  if ((style & kNotPushButtonBits) == 0) SendMessageA(hWnd, BM_SETSTYLE, BS_OWNERDRAW, -1);

  SetIntProp(hWnd, kOldStyleProp, style);
  SetIntProp(hWnd, kMouseFlagProp, 0);
  SetIntProp(hWnd, kTimerIdProp, 0);
  SetIntProp(hWnd, kOldStateProp, IsWindowEnabled(hWnd) ? kNormal : kDisabled);
  SetIntProp(hWnd, kAlphaLevelProp, 0);

  RoundButtonCorners(hWnd);
}

void RemovePushButton(HWND hWnd) {
  for (int i = 0; i < 4; ++i) {
    const std::string dcName = FaceDCProp(i);
    const std::string bitmapName = FaceBitmapProp(i);
    HDC face = static_cast<HDC>(GetHandleProp(hWnd, dcName));
    HGDIOBJ bitmap = GetHandleProp(hWnd, bitmapName);
    // A DC still holding the bitmap takes it along; deleting the bitmap afterwards is then a
    // harmless no-op, and a bitmap replaced on resize is freed here either way.
    if (face) DeleteDC(face);
    if (bitmap) DeleteObject(bitmap);
    RemovePropA(hWnd, dcName.c_str());
    RemovePropA(hWnd, bitmapName.c_str());
  }
  StopHoverTimer(hWnd);
  SetWindowLongA(hWnd, GWL_STYLE, GetIntProp(hWnd, kOldStyleProp));
  for (const char* name : {kOldStyleProp, kMouseFlagProp, kTimerIdProp, kOldStateProp, kAlphaLevelProp})
    RemovePropA(hWnd, name);
  SetWindowRgn(hWnd, nullptr, TRUE);
}

}  // namespace

// --- entry point

std::int32_t ApplySkin(HWND hWnd) {
  if (SkinReady == VbFalse) {
    SkinReady = VbTrue;
    HasTrackMouseEvent = HasLibraryFunction("TrackMouseEvent", "User32");
    BuildSkinBitmaps();
  }
  return SkinWindow(hWnd);
}

// --- SkinWindow

std::int32_t SkinWindow(HWND hWnd) {
  if (!hWnd) return 0;
  if (GetPreviousProc(hWnd)) return 0;

  switch (WindowGroup(hWnd)) {
    case ClassGroup::Form:
      EnumChildWindows(hWnd, SkinChildProc, 0);
      break;
    case ClassGroup::PushButton:
      PreparePushButton(hWnd);
      break;
    case ClassGroup::ComboBox:
    case ClassGroup::DriveList:
    case ClassGroup::CheckBox:
    case ClassGroup::OptionButton:
      SetIntProp(hWnd, kMouseFlagProp, 0);
      SetIntProp(hWnd, kOldStateProp, kNormal);
      break;
    case ClassGroup::Header:
      SetIntProp(hWnd, kMouseFlagProp, 0);
      SetIntProp(hWnd, kHdIndexProp, -1);
      SetIntProp(hWnd, kHmIndexProp, -1);
      break;
    default:
      break;
  }

  ++SkinnedCount;
  // No message reaches the window between these two lines, so SkinWndProc never sees it without
  // its previous procedure.
  LONG_PTR previous = SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SkinWndProc));
  SetPropA(hWnd, kProcAddrProp, reinterpret_cast<HANDLE>(previous));
  Repaint(hWnd);
  return 1;
}

// --- UnskinWindow

std::int32_t UnskinWindow(HWND hWnd) {
  if (!hWnd) return 0;
  WNDPROC previous = GetPreviousProc(hWnd);
  if (!previous) return 0;

  switch (WindowGroup(hWnd)) {
    case ClassGroup::Form:
      EnumChildWindows(hWnd, UnskinChildProc, 0);
      break;
    case ClassGroup::PushButton:
      RemovePushButton(hWnd);
      break;
    case ClassGroup::ComboBox:
    case ClassGroup::DriveList:
    case ClassGroup::CheckBox:
    case ClassGroup::OptionButton:
      RemovePropA(hWnd, kMouseFlagProp);
      RemovePropA(hWnd, kOldStateProp);
      break;
    case ClassGroup::Header:
      RemovePropA(hWnd, kMouseFlagProp);
      RemovePropA(hWnd, kHdIndexProp);
      RemovePropA(hWnd, kHmIndexProp);
      break;
    default:
      break;
  }

  RemovePropA(hWnd, kProcAddrProp);
  SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  Repaint(hWnd);

  if (--SkinnedCount <= 0) {
    SkinnedCount = 0;
    ReleaseSkinBitmaps();
    SkinReady = VbFalse;
  }
  return 1;
}

// --- child enumeration

BOOL CALLBACK SkinChildProc(HWND hWnd, LPARAM) {
  SkinWindow(hWnd);
  return TRUE;
}

BOOL CALLBACK UnskinChildProc(HWND hWnd, LPARAM) {
  UnskinWindow(hWnd);
  return TRUE;
}

}  // namespace skin
