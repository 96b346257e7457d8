// Painters of the skinned controls other than the push button: the drop-down button of combo boxes
// and drive lists, the check square, the option circle and one header item. Each draws one control
// in one state straight onto the window, over what the control drew itself, and the toggle painters
// remember the state they drew in "OLDSTATE" so that an unchanged state costs nothing.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32.h"
#include "skin/skin_types.h"

namespace skin {

// States: 0 normal, 1 hover, 2 pressed (or, for a combo box, list dropped down).
// hDC 0 means: take the window's DC and release it again. While the list is dropped down the
// pressed face is painted and 2 is written back into state.
void PaintComboButton(HWND hWnd, HDC hDC, std::int32_t& state, VbBool force);

// Return 1 when painted, 0 when skipped because state equals "OLDSTATE" and force is false.
std::int32_t PaintCheckBox(HWND hWnd, std::int32_t state, VbBool force);
std::int32_t PaintOptionButton(HWND hWnd, std::int32_t state, VbBool force);

// One header item; a negative index draws nothing. Always 0.
std::int32_t PaintHeaderItem(HWND hWnd, HDC hDC, std::int32_t index, std::int32_t state);

// Shared with the header's own paint:
// The item's text, at most 255 bytes, cut back to a whole UTF-8 character; "" for none.
std::string GetHeaderItemText(HWND hWnd, std::int32_t index);
// Source x of the header skin frame for a state: 3 hover, 6 pressed, 0 for any other.
std::int32_t HeaderFrameX(std::int32_t state);

}  // namespace skin
