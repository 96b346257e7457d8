// CommDlgExtendedError: 0 after a dialog that was confirmed or cancelled,
// otherwise why the last one failed.
#include "platform/dialogs/common_error.h"

namespace platform::dialogs {
namespace {

thread_local DWORD lastError = 0;

}  // namespace

void SetCommonError(DWORD code) { lastError = code; }
DWORD CommonError() { return lastError; }

}  // namespace platform::dialogs

DWORD CommDlgExtendedError() { return platform::dialogs::CommonError(); }
