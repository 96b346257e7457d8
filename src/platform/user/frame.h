// Non-client frame sizes in the classic look at 96 dpi, and the frame
// painter DefWindowProcA uses for WM_NCPAINT.
#pragma once

#include "platform/win32.h"

namespace platform::user {

constexpr int kFrameSize = 4;       // WS_THICKFRAME, SM_CXFRAME
constexpr int kDlgFrameSize = 3;    // WS_DLGFRAME, SM_CXDLGFRAME
constexpr int kCaptionHeight = 19;  // SM_CYCAPTION: an 18-pixel bar and a 1-pixel line under it
constexpr int kScrollBarSize = 17;  // SM_CXVSCROLL, SM_CYHSCROLL

// Widths of the non-client area on each side (left, top, right, bottom).
RECT FrameInsets(DWORD style, DWORD exStyle, bool topLevel);

// Paints the non-client area of hwnd into a window DC: borders, edges,
// caption bar and scroll-bar placeholders.
void PaintFrame(HWND hwnd, HDC windowDC);

}  // namespace platform::user
