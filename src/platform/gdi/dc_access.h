// What the text renderer needs from a device context, without knowing how
// DCs are built. The raster layer implements these; text drawing
// (DrawTextA, TextOutA, ...) is written only against them.
#pragma once

#include <cstdint>

#include "platform/win32/base.h"

namespace platform::gdi {

struct DcTextState {
  COLORREF textColor = 0;
  COLORREF bkColor = 0xFFFFFF;
  int bkMode = 2;        // OPAQUE
  HFONT font = nullptr;  // nullptr: the stock SYSTEM_FONT
  POINT currentPos{0, 0};
  UINT textAlign = 0;
};

// FALSE for a stale or non-DC handle.
BOOL GetDcTextState(HDC dc, DcTextState* out);
BOOL SetDcCurrentPosition(HDC dc, POINT pos);

// Blends an 8-bit coverage mask (0 = untouched, 255 = solid colour) whose
// top-left lands at logical (x, y), through the DC's origin and clip. Into a
// monochrome bitmap, coverage >= 128 writes the colour by the colour→mono
// rule.
BOOL BlendCoverage(HDC dc, int x, int y, int w, int h, const std::uint8_t* coverage, int stride,
                   COLORREF color);

// Solid fill of a logical rectangle through origin and clip (opaque text
// background, underlines).
BOOL FillSolid(HDC dc, const RECT& r, COLORREF color);

}  // namespace platform::gdi
