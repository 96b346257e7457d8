// The size of the display that display DCs report (GetDeviceCaps HORZRES,
// VERTRES). The windowing backend sets it when it learns the screen size.
#pragma once

namespace platform::gdi {

void SetDisplaySize(int width, int height);
int DisplayWidth();
int DisplayHeight();

}  // namespace platform::gdi
