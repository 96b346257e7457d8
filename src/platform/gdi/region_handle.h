// Bridges between HRGN handles and Region values, for the windowing layer
// (SetWindowRgn, update regions, GetUpdateRgn).
#pragma once

#include "platform/gdi/region.h"
#include "platform/win32/base.h"

namespace platform::gdi {

// The region behind a live HRGN, nullptr for anything else.
const Region* RegionOf(HRGN h);

// A new HRGN holding a copy of r.
HRGN CreateRegionHandle(const Region& r);

// Replaces the contents of a live HRGN; FALSE for anything else.
BOOL SetRegionOf(HRGN h, const Region& r);

}  // namespace platform::gdi
