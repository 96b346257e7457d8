// The integer HiDPI scale: everything is drawn at 1× and each pixel is shown
// as an s×s block. s comes from HUIWENFANG_SCALE if it is set, else from
// GDK_SCALE (what GTK programs on the same desktop use), else from the X
// resource Xft.dpi divided by 96 and rounded down; it is at least 1.
#pragma once

#include <algorithm>
#include <optional>
#include <string_view>

namespace platform::backend {

// Beyond this a window of the program would fit no screen made.
inline constexpr int kMaxDisplayScale = 8;

// A scale written in an environment variable: a whole number from 1 up
// (larger ones are held to kMaxDisplayScale); nullopt when the text is
// missing or is not such a number, so that the next source decides.
std::optional<int> ParseScale(const char* text);

// The Xft.dpi value in the text of the X resources (the root window's
// RESOURCE_MANAGER property); nullopt when it is not there.
std::optional<double> XftDpiIn(std::string_view resources);

// Picks s from the two variables and, only when neither decides, from the
// Xft.dpi that readDpi() returns (it may talk to the display, so it is only
// called when needed).
template <class ReadDpi>
int ChooseDisplayScale(const char* huiwenfangScale, const char* gdkScale, ReadDpi readDpi) {
  if (auto s = ParseScale(huiwenfangScale)) return *s;
  if (auto s = ParseScale(gdkScale)) return *s;
  if (std::optional<double> dpi = readDpi(); dpi && *dpi >= 96.0)
    return static_cast<int>(std::min(*dpi / 96.0, static_cast<double>(kMaxDisplayScale)));
  return 1;
}

}  // namespace platform::backend
