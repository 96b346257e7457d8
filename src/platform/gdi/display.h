// The size of the display that display DCs report (GetDeviceCaps HORZRES,
// VERTRES). The attached backend sets it from the screen it shows on.
#pragma once

namespace platform::gdi {

// The screen of the headless layer, and what display DCs report until a
// backend says otherwise.
inline constexpr int kHeadlessScreenWidth = 1280;
inline constexpr int kHeadlessScreenHeight = 1024;

void SetDisplaySize(int width, int height);
int DisplayWidth();
int DisplayHeight();

}  // namespace platform::gdi
