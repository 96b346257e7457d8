// Modal loops for dialogs and message boxes.
//
//   INT_PTR r = platform::user::RunModalLoop(dialog, owner);
//
// disables owner (if any), then dispatches the messages of every window
// (timers of the main window keep ticking) with IsDialogMessageA navigation
// for `dialog`, and sends WM_ENTERIDLE (MSGF_DIALOGBOX, dialog) to owner
// each time the queue runs dry. It returns the value given to
// EndModalLoop(dialog, value); -1 if the dialog was destroyed first or
// nothing could ever arrive (headless, no timers); on WM_QUIT it re-posts
// the quit and returns 0. The owner is enabled again and reactivated before
// the function returns. Loops nest.
#pragma once

#include "platform/win32.h"

namespace platform::user {

INT_PTR RunModalLoop(HWND dialog, HWND owner);
// FALSE when no modal loop runs for dialog.
BOOL EndModalLoop(HWND dialog, INT_PTR result);
bool IsInModalLoop(HWND dialog);

}  // namespace platform::user
