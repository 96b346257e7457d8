// The program's icon as the window manager shows it beside the caption: a
// 48x48 picture, row by row from the top, each pixel 0xAARRGGBB.
#pragma once

#include <cstdint>

namespace platform::backend {

inline constexpr int kWindowIconSize = 48;
extern const std::uint32_t kWindowIconArgb[kWindowIconSize * kWindowIconSize];

}  // namespace platform::backend
