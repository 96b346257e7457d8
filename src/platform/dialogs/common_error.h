// The last error of a common dialog, for CommDlgExtendedError. Private to
// the dialogs.
#pragma once

#include "platform/win32.h"

namespace platform::dialogs {

void SetCommonError(DWORD code);
DWORD CommonError();

}  // namespace platform::dialogs
