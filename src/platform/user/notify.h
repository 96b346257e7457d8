// How controls tell their parent about themselves.
#pragma once

#include "platform/win32.h"

namespace platform::user {

// Sends WM_COMMAND (MAKEWPARAM(id, code), child) to the child's parent, as
// standard controls do (BN_CLICKED, CBN_SELCHANGE, EN_CHANGE...). Returns the
// parent's answer, 0 when the child has no parent.
LRESULT NotifyParent(HWND child, WORD code);

}  // namespace platform::user
