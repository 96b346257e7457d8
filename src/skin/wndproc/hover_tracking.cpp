// Mouse-leave tracking shared by every hover-aware control kind, and the routing to the kinds.
#include "skin/skin_props.h"
#include "skin/skin_state.h"
#include "skin/wndproc/control_messages.h"
#include "skin/wndproc/skin_wndproc.h"

namespace skin {
namespace {

using TrackProc = BOOL (*)(LPTRACKMOUSEEVENT);

// Looked up once: the fallback is asked on every first move over a control. The library stays
// loaded for the same reason.
TrackProc CommonControlsTracker() {
  static TrackProc tracker = [] {
    HMODULE module = GetModuleHandleA("Comctl32");
    if (!module) module = LoadLibraryA("Comctl32");
    FARPROC proc = module ? GetProcAddress(module, "_TrackMouseEvent") : nullptr;
    return reinterpret_cast<TrackProc>(reinterpret_cast<void*>(proc));
  }();
  return tracker;
}

}  // namespace

void TrackMouseLeave(HWND hWnd) {
  TRACKMOUSEEVENT request{};
  // The platform checks the size against its own record, which is wider than 16 bytes here.
  request.cbSize = sizeof request;
  request.dwFlags = TME_LEAVE;
  request.hwndTrack = hWnd;
  request.dwHoverTime = 0;
  if (HasTrackMouseEvent == VbTrue) {
    TrackMouseEvent(&request);
  } else if (TrackProc tracker = CommonControlsTracker()) {
    tracker(&request);
  }
}

void NoteMouseInside(HWND hWnd) {
  if (GetIntProp(hWnd, kMouseFlagProp) != 0) return;
  SetIntProp(hWnd, kMouseFlagProp, 1);
  TrackMouseLeave(hWnd);
}

bool IsUnderCursor(HWND hWnd) {
  POINT cursor{};
  if (!GetCursorPos(&cursor)) return false;
  return WindowFromPoint(cursor) == hWnd;
}

bool StillSkinned(HWND hWnd) { return IsWindow(hWnd) && GetPreviousProc(hWnd) != nullptr; }

LRESULT RouteToKind(ClassGroup group, WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (group) {
    case ClassGroup::PushButton:
      return PushButtonMessage(previous, hWnd, msg, wParam, lParam);
    case ClassGroup::ComboBox:
    case ClassGroup::DriveList:
      return ComboMessage(group, previous, hWnd, msg, wParam, lParam);
    case ClassGroup::CheckBox:
    case ClassGroup::OptionButton:
      return ToggleMessage(group, previous, hWnd, msg, wParam, lParam);
    case ClassGroup::Header:
      return HeaderMessage(previous, hWnd, msg, wParam, lParam);
    default:
      return HandOn(previous, hWnd, msg, wParam, lParam);
  }
}

}  // namespace skin
