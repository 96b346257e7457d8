// What the form paints itself: its background, the windowless shapes and
// labels beneath its windowed children, and the frames' faces.
#pragma once

#include "platform/win32.h"
#include "runtime/layout.h"

namespace runtime {

// Background, then shapes and labels from the back of the stacking order to
// the front, so that where they overlap the earlier row wins.
void PaintFormSurface(HDC dc, const FormLayout& layout, COLORREF back, HFONT font, HBRUSH backBrush);

// A frame: its background, an etched border below the caption's middle and
// the caption on a patch of the background at the top left.
void PaintFrame(HWND frame, HDC dc, const LayoutRow& row, HFONT font);

// The front-most label whose rectangle holds the point (client pixels of the
// form), or nullptr.
const LayoutRow* LabelAt(const FormLayout& layout, POINT pt);

}  // namespace runtime
