#include "platform/user/notify.h"

namespace platform::user {

LRESULT NotifyParent(HWND child, WORD code) {
  if (!(GetWindowLongA(child, GWL_STYLE) & WS_CHILD)) return 0;
  HWND parent = GetParent(child);
  if (!parent) return 0;
  return SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), code),
                      reinterpret_cast<LPARAM>(child));
}

}  // namespace platform::user
