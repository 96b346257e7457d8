// Test access to the headless window manager: inject input at screen
// positions, drive virtual time, pump messages, read what windows show and
// count live objects. Not for program code.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/backend/headless.h"
#include "platform/gdi/pixel_buffer.h"
#include "platform/handles.h"
#include "platform/win32.h"

namespace platform::testing {

enum class Button { Left, Right, Middle };

// Input, at screen coordinates. Each call routes at once and queues the
// resulting messages; PumpMessages delivers them.
void MouseMove(int x, int y);
void MouseDown(int x, int y, Button b = Button::Left);
void MouseUp(int x, int y, Button b = Button::Left);
void Click(int x, int y, Button b = Button::Left);  // move, down, up
void Wheel(int x, int y, int delta);
void KeyDown(UINT vk);
void KeyUp(UINT vk);
void Text(const std::string& utf8);  // one WM_CHAR per UTF-8 byte
void RequestClose(HWND topLevel);    // the close button of the frame

// Time. Virtual time starts at startMs and only moves when told to.
void UseVirtualTime(std::uint64_t startMs = 1000);
void UseRealTime();
void AdvanceTime(std::uint64_t ms);
std::uint64_t Now();

// Translates and dispatches queued, paint and due timer messages until none
// is left (or maxMessages were handled); returns how many were handled.
int PumpMessages(int maxMessages = 100000);

// Runs when a blocking wait (GetMessageA, a modal loop) would start; return
// true when it did something (injected input, ended a loop).
void SetIdleHook(std::function<bool()> hook);

// What a top-level window shows: its surface (nullptr for other handles).
const gdi::PixelBuffer* WindowPixels(HWND topLevel);
// The colour at a screen position in the frontmost top-level window there,
// or CLR_INVALID (0xFFFFFFFF) where no window is.
COLORREF ScreenPixel(int x, int y);

std::size_t LiveObjects(HandleKind kind);
std::size_t PendingTimers();

// Destroys every window and clears queue, input state, focus and capture,
// and attaches a fresh headless screen, so that tests start from an empty
// desktop.
void Reset();

// Attaches a fresh headless screen of the given size and returns it, to read
// back what the window manager told it and presented. Call with no window
// alive; it stays attached until the next Reset or attach.
backend::HeadlessBackend& AttachHeadlessScreen(SIZE screen = SIZE{gdi::kHeadlessScreenWidth,
                                                                  gdi::kHeadlessScreenHeight});

}  // namespace platform::testing
