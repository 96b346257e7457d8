// Push-button faces: drawing the four face images of a skinned button and blending the current one
// onto the window.
#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace skin {

// Draws faces 0 normal, 1 hover, 2 pressed, 3 disabled into the DCs "HDC0".."HDC3" from the button
// skin, with the caption centred and, while the button has the focus, the focus rectangle.
void RenderButtonFaces(HWND hWnd);

// Blends the face named by "OLDSTATE" over the whole window at "ALPHALEVEL"; a disabled window is
// first set to state 3. Buttons that were not plain push buttons when skinned are left alone.
// hDC 0: the window's own DC is taken and released. Always 0.
std::int32_t PaintButton(HWND hWnd, HDC hDC);

// Gives a push button its rounded corners at its current size; the window owns the region.
void RoundButtonCorners(HWND hWnd);

}  // namespace skin
