// Drawing primitives of the skin engine: window text and box, solid fills and frames, centred
// text, focus rectangles, frame thickness and off-screen memory DCs. Rectangles are passed as
// left, top, width, height; each primitive builds the RECT itself.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32.h"
#include "skin/skin_types.h"

namespace skin {

// Centring arithmetic: a float rounded to the nearest 32-bit integer, ties to even (2.5 -> 2,
// 3.5 -> 4). Values beyond the 32-bit range saturate instead of wrapping.
std::int32_t RoundToInt(double value);
// Half of a pixel amount, rounded as above.
std::int32_t HalfOf(std::int32_t amount);

// The window's text ("" for none or for a window that is gone).
std::string GetWindowCaption(HWND hWnd);

// DrawTextA into the box; the result is DrawTextA's (the text height), 0 when nothing was drawn.
std::int32_t DrawTextInBox(HDC hDC, const std::string& text, std::int32_t left, std::int32_t top,
                           std::int32_t width, std::int32_t height, UINT format);

// Solid fill, one-pixel inside frame, and the XOR focus rectangle of the box.
std::int32_t FillBox(HDC hDC, std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height,
                     COLORREF colour);
std::int32_t FrameBox(HDC hDC, std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height,
                      COLORREF colour);
std::int32_t DrawFocusBox(HDC hDC, std::int32_t left, std::int32_t top, std::int32_t width,
                          std::int32_t height);

// Fills box from the window rectangle; returns GetWindowRect's result (box all 0 on failure).
std::int32_t GetWindowBox(HWND hWnd, SkinBox& box);

// Thickness of the window's frame on each side, scroll bars left out. Always returns 1.
std::int32_t GetBorderSize(HWND hWnd, std::int32_t& x, std::int32_t& y);

// A DC compatible with the display that owns a display-compatible bitmap of width x height:
// deleting the DC releases the bitmap. 0 when anything could not be created.
HDC CreateMemoryDC(std::int32_t width, std::int32_t height);

// The RECT (left, top, left + width, top + height), or false when it does not fit 32 bits.
bool BoxToRect(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height, RECT& rect);

}  // namespace skin
