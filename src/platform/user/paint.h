// Window DCs and visible regions. Private to the platform layer.
#pragma once

#include <cstddef>

#include "platform/gdi/region.h"
#include "platform/user/window.h"

namespace platform::user {

// What of the window shows, in its top-level surface's coordinates.
gdi::Region VisibleRegion(const Window& w, bool clientOnly, bool clipChildren);

// A surface DC for the window (hwnd null: a scratch desktop DC). extraClip
// is in the DC's own coordinates. Released with ReleaseDC.
HDC MakeWindowDC(HWND hwnd, bool window, bool clipChildren, bool clipSiblings, const gdi::Region* extraClip);

void ForgetDCsOf(HWND hwnd);
std::size_t OutstandingDCs();

}  // namespace platform::user
