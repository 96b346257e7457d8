// Input entering the window manager from a screen backend or from tests:
// mouse at screen positions, keys, text, close requests. Each call routes the
// input at once (hit testing, capture, focus) and queues the resulting
// messages; nothing is dispatched until the message loop runs.
#pragma once

#include <string>

#include "platform/win32.h"

namespace platform::user {

enum class MouseButton { Left, Right, Middle };

void InjectMouseMove(POINT screen);
void InjectMouseButton(POINT screen, MouseButton button, bool down);
void InjectMouseWheel(POINT screen, int delta);
// vk: a VK_* code, or 'A'..'Z' / '0'..'9' for letters and digits.
void InjectKey(UINT vk, bool down);
// UTF-8 text from the keyboard or an input method: one WM_CHAR per byte.
void InjectText(const std::string& utf8);
// The user asked to close a top-level window (its frame's close button).
void InjectCloseRequest(HWND topLevel);

// Picks a new active window after `leaving` stops being one.
void ActivateNextTopLevel(HWND leaving);
// Forgets input state tied to a window that is going away.
void ForgetInputState(HWND hwnd);
// Key state as of the last message taken from the queue (GetKeyState),
// updated by PeekMessageA as key and button messages are removed.
void NoteRetrieved(const MSG& msg);

// Resets key and button state and double-click memory (tests).
void ResetInputState();

}  // namespace platform::user
