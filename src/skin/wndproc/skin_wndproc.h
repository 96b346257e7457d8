// The one window procedure of every skinned window and the handlers it routes to. Every handler
// takes the procedure that was in place before the skin (read once by SkinWndProc, also valid when a
// handler removes the property on the way) and returns the message result.
#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace skin {

LRESULT CALLBACK SkinWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Passes the message, unchanged, to the previous procedure.
LRESULT HandOn(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

// After a left-button release: repaints the skinned check boxes and option buttons among the
// descendants enumerated. Always continues the enumeration.
BOOL CALLBACK RepaintTogglesProc(HWND hWnd, LPARAM lParam);

// The handlers of messages the skin answers itself.
LRESULT OnActivate(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT OnPaint(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT OnNcPaint(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The routes of the messages that only some control kinds style (message_routes.cpp):
// size, enable and timer go to push buttons; focus changes to push and option buttons; the space
// key to push buttons, check boxes and option buttons; position changes to combo boxes and drive
// lists; mouse messages to every hover-aware kind; double clicks to push buttons and headers.
LRESULT ToPushButtons(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT ToFocusKinds(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT ToSpaceKeyKinds(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT ToComboKinds(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT ToMouseKinds(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT ToDoubleClickKinds(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace skin
