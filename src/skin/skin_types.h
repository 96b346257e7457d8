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

// The looks a skinned control is drawn in, which are also the rows of its skin pictures and the
// numbers its "OLDSTATE" property holds.
enum LookState : std::int32_t { kNormal = 0, kHot = 1, kPressed = 2, kDisabled = 3 };

// The push-button kinds of the standard button class (BS_PUSHBUTTON, BS_DEFPUSHBUTTON) have
// neither bit; check boxes, radio buttons and group boxes have one of them.
inline constexpr LONG kNotPushButtonBits = BS_CHECKBOX | BS_RADIOBUTTON;

// A caption on a button face or a header item: one line, centred both ways, cut with an ellipsis.
inline constexpr UINT kCaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;

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
