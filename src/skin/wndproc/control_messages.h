// What the skin does with the mouse, key, focus and size messages of each hover-aware control kind,
// and the mouse-leave tracking they share. The On* handlers pick the kind by class group; each kind
// then answers its own messages in one place.
#pragma once

#include <cstdint>

#include "platform/win32.h"
#include "skin/class_groups.h"

namespace skin {

// Asks for one WM_MOUSELEAVE when the cursor leaves hWnd: TrackMouseEvent where the probe found it,
// else the common-controls _TrackMouseEvent. The answer is not needed.
void TrackMouseLeave(HWND hWnd);

// The first move over a control since it was left: "MOUSEFLAG" 1 and a leave request. Later moves
// change nothing, so the platform is not asked again on every move.
void NoteMouseInside(HWND hWnd);

// The window is under the cursor only when WindowFromPoint names it itself; a child of it there
// (the edit field of a combo box) does not count.
bool IsUnderCursor(HWND hWnd);

// Handing a message on may destroy the window or take the skin off it (a click that closes a
// dialog): the look is changed afterwards only while the window still carries the skin.
bool StillSkinned(HWND hWnd);

// One kind each; messages a kind does not style are only handed on.
LRESULT PushButtonMessage(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT ToggleMessage(ClassGroup group, WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT ComboMessage(ClassGroup group, WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT HeaderMessage(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The kind's handler for push buttons, combo boxes, drive lists, check boxes, option buttons and
// headers; every other group only hands on.
LRESULT RouteToKind(ClassGroup group, WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace skin
