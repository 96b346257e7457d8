// The message queue, timers and waiting: what the message functions and the
// modal loop share. Private to the platform layer.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "platform/win32.h"

namespace platform::user {

// Appends a message as input arrives (time and cursor position stamped).
void PostQueued(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Timers.
std::optional<std::uint64_t> NextTimerDue();
void KillWindowTimers(HWND hwnd);
std::size_t TimerCount();

// Blocks until something may be ready: screen events (SDL), the next timer
// (sleeping in real time, jumping in virtual time) or the idle hook's work.
// Returns false when nothing can ever arrive (headless, no timers, no hook).
bool WaitForWork();

// Tests install a hook that runs when a blocking wait would start (e.g. to
// inject input or end a modal loop); it returns true if it did something.
void SetIdleHook(std::function<bool()> hook);

// Painting side of the queue (paint.cpp).
HWND FindWindowToPaint(HWND filter);
// Sends WM_NCPAINT and WM_ERASEBKGND still owed before WM_PAINT.
void PrepareForPaint(HWND hwnd);

// Drops every queued message of a destroyed window.
void PurgeQueue(HWND hwnd);
// Empties the queue and forgets a pending quit (tests).
void ResetQueue();
// Puts a message in front of the queue (TranslateMessage's WM_CHAR).
void PostFront(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace platform::user
