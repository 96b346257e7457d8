// Small shared vocabulary of the skin engine: its 16-bit Booleans, the key colour and the box
// of a window.
#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace skin {

// The engine keeps its flags in the 16-bit Boolean of the language it was first written in,
// where true is all bits set. Comparing against VbTrue, not against 1, matters.
using VbBool = std::int16_t;
inline constexpr VbBool VbTrue = -1;
inline constexpr VbBool VbFalse = 0;

// Magenta marks the pixels a transparent copy leaves out.
inline constexpr COLORREF kKeyColour = 0x00FF00FF;

// A window's rectangle in screen coordinates, frame included, with its size.
struct SkinBox {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
};

}  // namespace skin
