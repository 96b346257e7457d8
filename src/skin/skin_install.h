// Putting the skin on and taking it off: the engine's entry point, the per-window installation
// and its exact reverse.
#pragma once

#include <cstdint>

#include "platform/win32.h"
#include "skin/skin_types.h"

namespace skin {

// Prepares the shared resources on the first call (probe and skin bitmaps), then skins hWnd and,
// for a form, every descendant first. 1 when hWnd was skinned; 0 for 0 or an already skinned window.
std::int32_t ApplySkin(HWND hWnd);

// Installs the skin on one window: properties by class group, a push button's faces, owner-draw
// style and rounded region, then SkinWndProc. 1 when installed; 0 for 0 or an already skinned window.
std::int32_t SkinWindow(HWND hWnd);

// The exact reverse of SkinWindow; the last window to go releases the skin bitmaps.
// 1 when removed; 0 for 0 or a window that is not skinned.
std::int32_t UnskinWindow(HWND hWnd);

// EnumChildWindows callbacks over SkinWindow / UnskinWindow; the enumeration always goes on.
BOOL CALLBACK SkinChildProc(HWND hWnd, LPARAM lParam);
BOOL CALLBACK UnskinChildProc(HWND hWnd, LPARAM lParam);

}  // namespace skin
