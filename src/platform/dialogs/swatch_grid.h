// A grid of colour swatches that takes the focus, the arrows and clicks:
// the basic and the custom colours of the colour dialog. Private to the
// dialogs.
//
//   HWND g = dialog.Add(kSwatchGridClass, "", WS_TABSTOP, x, y, w, h, COLOR_BOX1);
//   SendMessageA(g, SGM_SETCOLORS, MAKEWPARAM(columns, rows), (LPARAM)colours);
//
// The grid reads the colours from the caller's array whenever it paints, so
// the owner changes them in place and invalidates. A new selection sends
// WM_COMMAND (id, SGN_SELCHANGE) to the parent.
#pragma once

#include "platform/win32.h"

namespace platform::dialogs {

inline constexpr char kSwatchGridClass[] = "HwfSwatchGrid";

constexpr UINT SGM_SETCOLORS = WM_USER + 0x60;    // wParam MAKEWPARAM(columns, rows), lParam const COLORREF*
constexpr UINT SGM_SETSEL = WM_USER + 0x61;       // wParam index, or -1 for none
constexpr UINT SGM_GETSEL = WM_USER + 0x62;       // the index, -1 for none
constexpr UINT SGM_GETCELLRECT = WM_USER + 0x63;  // wParam index, lParam RECT* (client coordinates)
constexpr WORD SGN_SELCHANGE = 1;

void RegisterSwatchGrid();

}  // namespace platform::dialogs
