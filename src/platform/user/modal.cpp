#include "platform/user/modal.h"

#include <vector>

#include "platform/user/queue.h"
#include "platform/user/window.h"

namespace platform::user {
namespace {

struct ModalFrame {
  HWND dialog;
  bool ended = false;
  INT_PTR result = 0;
};

std::vector<ModalFrame*>& frames() {
  static std::vector<ModalFrame*> f;
  return f;
}

}  // namespace

INT_PTR RunModalLoop(HWND dialog, HWND owner) {
  if (!IsWindow(dialog)) return -1;
  ModalFrame frame{dialog};
  frames().push_back(&frame);
  bool ownerWasEnabled = owner && IsWindowEnabled(owner);
  if (ownerWasEnabled) EnableWindow(owner, FALSE);

  bool idleSent = false;
  MSG msg;
  while (!frame.ended && IsWindow(dialog)) {
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      idleSent = false;
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        frame.result = 0;
        frame.ended = true;
        break;
      }
      if (!IsDialogMessageA(dialog, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      continue;
    }
    if (!idleSent && owner && IsWindow(owner)) {
      // Once per idle spell: the owner hears that its dialog waits.
      idleSent = true;
      SendMessageA(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(dialog));
      continue;  // the owner may have posted or ended something
    }
    if (!WaitForWork()) {
      frame.result = -1;
      break;
    }
  }
  if (!frame.ended && !IsWindow(dialog)) frame.result = -1;

  std::erase(frames(), &frame);
  if (ownerWasEnabled && IsWindow(owner)) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
  return frame.result;
}

BOOL EndModalLoop(HWND dialog, INT_PTR result) {
  for (auto it = frames().rbegin(); it != frames().rend(); ++it)
    if ((*it)->dialog == dialog && !(*it)->ended) {
      (*it)->ended = true;
      (*it)->result = result;
      return TRUE;
    }
  return FALSE;
}

bool IsInModalLoop(HWND dialog) {
  for (ModalFrame* f : frames())
    if (f->dialog == dialog && !f->ended) return true;
  return false;
}

}  // namespace platform::user
