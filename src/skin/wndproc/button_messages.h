// The push buttons' fade timer, run by their message handler (button_messages.cpp) and stopped
// when the skin comes off.
#pragma once

#include "platform/win32.h"

namespace skin {

// The fade timer of a push button (identifier 1, 15 ms, ticks as WM_TIMER). Start does nothing and
// returns 0 while one runs; a SetTimer that fails stores 0, so the next start tries again.
UINT_PTR StartHoverTimer(HWND hWnd);
// KillTimer's result, or 0 when no timer runs.
BOOL StopHoverTimer(HWND hWnd);

}  // namespace skin
