// The per-kind branches of OnPaint and OnNcPaint, split over files by what they paint: controls
// that keep their own painting under a skinned frame, and the bars and headers the skin paints
// whole in an off-screen picture.
#pragma once

#include "platform/win32.h"

namespace skin {

inline constexpr COLORREF kBorderColour = 0x00D5A554;
inline constexpr COLORREF kDisabledBorderColour = 0x00E9CFA4;
inline constexpr COLORREF kWhite = 0x00FFFFFF;

// The outer line of a control: pale while the window is disabled.
COLORREF BorderColourOf(HWND hWnd);

// paint_lists.cpp
LRESULT PaintComboBox(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT PaintDriveList(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Data lists and the drop-down lists of combo boxes.
LRESULT PaintListFrame(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT PaintGrid(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

// paint_bars.cpp; the previous procedure never sees these messages. Always 0.
LRESULT PaintProgressBar(HWND hWnd);
LRESULT NcPaintProgressBar(HWND hWnd);
LRESULT PaintHeader(HWND hWnd);

}  // namespace skin
