// How the windowing layer hands window surfaces to the raster layer.
//
// A window DC or client DC is a DC whose target is the pixel buffer of a
// top-level window (or of the headless screen), with a device origin (where
// logical (0,0) lands in the buffer) and a clip region in buffer coordinates
// (what of the window is visible: siblings in front, window region, and for
// client DCs the children, already cut away by the caller).
#pragma once

#include <memory>

#include "platform/gdi/pixel_buffer.h"
#include "platform/gdi/region.h"
#include "platform/win32/base.h"

namespace platform::gdi {

// Creates a DC drawing into target. The DC holds a shared reference, so the
// buffer stays valid while the DC lives. Drawing outside visible is dropped.
// SelectClipRgn on such a DC intersects with visible, never widens it.
HDC CreateSurfaceDC(std::shared_ptr<PixelBuffer> target, POINT origin, const Region& visible);

// Moves an existing surface DC to a new origin/visible region (used when a
// window moves while a DC is out, and by BeginPaint to narrow to the update
// region).
BOOL SetSurfaceDCGeometry(HDC dc, POINT origin, const Region& visible);

}  // namespace platform::gdi
