// What the combo box and its drop-down list ("ComboLBox") say to each other.
// Private to the controls.
#pragma once

#include "platform/win32.h"

namespace platform::controls {

// Sent by a "ComboLBox" to its combo box: the user released the mouse on
// item wParam (LB_ERR when on no item).
inline constexpr UINT kComboListChose = WM_USER + 0x3A0;

// The combo box hands lpCreateParams = its own handle to the "ComboLBox"
// it creates; the list sends WM_CTLCOLORLISTBOX and kComboListChose there.

}  // namespace platform::controls
