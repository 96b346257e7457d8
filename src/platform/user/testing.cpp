// The headless test API (platform/testing.h) over the window manager.
#include "platform/testing.h"

#include "platform/user/backend.h"
#include "platform/user/clock.h"
#include "platform/user/input.h"
#include "platform/user/queue.h"
#include "platform/user/window.h"

namespace platform::testing {
namespace {

user::MouseButton ToButton(Button b) {
  return b == Button::Left    ? user::MouseButton::Left
         : b == Button::Right ? user::MouseButton::Right
                              : user::MouseButton::Middle;
}

}  // namespace

void MouseMove(int x, int y) { user::InjectMouseMove(POINT{x, y}); }
void MouseDown(int x, int y, Button b) { user::InjectMouseButton(POINT{x, y}, ToButton(b), true); }
void MouseUp(int x, int y, Button b) { user::InjectMouseButton(POINT{x, y}, ToButton(b), false); }
void Click(int x, int y, Button b) {
  MouseMove(x, y);
  MouseDown(x, y, b);
  MouseUp(x, y, b);
}
void Wheel(int x, int y, int delta) { user::InjectMouseWheel(POINT{x, y}, delta); }
void KeyDown(UINT vk) { user::InjectKey(vk, true); }
void KeyUp(UINT vk) { user::InjectKey(vk, false); }
void Text(const std::string& utf8) { user::InjectText(utf8); }
void RequestClose(HWND topLevel) { user::InjectCloseRequest(topLevel); }

void UseVirtualTime(std::uint64_t startMs) { user::UseVirtualClock(startMs); }
void UseRealTime() { user::UseRealClock(); }
void AdvanceTime(std::uint64_t ms) { user::AdvanceVirtualClock(ms); }
std::uint64_t Now() { return user::NowMs(); }

int PumpMessages(int maxMessages) {
  int n = 0;
  MSG msg;
  while (n < maxMessages && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave the quit for the test's own loop to find.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    ++n;
  }
  return n;
}

void SetIdleHook(std::function<bool()> hook) { user::SetIdleHook(std::move(hook)); }

const gdi::PixelBuffer* WindowPixels(HWND topLevel) {
  user::Window* w = user::FromHandle(topLevel);
  if (!w || w->isChild()) return nullptr;
  return w->surface.get();
}

COLORREF ScreenPixel(int x, int y) {
  for (HWND t : user::desktop().topLevels) {
    user::Window* w = user::FromHandle(t);
    if (!w || !w->visible() || !w->surface) continue;
    int lx = x - w->rect.left, ly = y - w->rect.top;
    if (lx < 0 || ly < 0 || lx >= w->surface->width || ly >= w->surface->height) continue;
    if (w->hasWindowRgn && !w->windowRgn.Contains(lx, ly)) continue;
    return gdi::ToColorRef(w->surface->row(ly)[lx]);
  }
  return 0xFFFFFFFF;
}

std::size_t LiveObjects(HandleKind kind) { return LiveHandleCount(kind); }
std::size_t PendingTimers() { return user::TimerCount(); }

void Reset() {
  for (HWND t : std::vector<HWND>(user::desktop().topLevels)) DestroyWindow(t);
  user::ResetQueue();
  user::ResetInputState();
  user::SetIdleHook(nullptr);
  auto& d = user::desktop();
  d.focus = d.active = d.capture = nullptr;
  d.cursor = POINT{0, 0};
  user::AttachBackend(nullptr);
}

backend::HeadlessBackend& AttachHeadlessScreen(SIZE screen) {
  auto headless = std::make_unique<backend::HeadlessBackend>(screen);
  backend::HeadlessBackend& ref = *headless;
  user::AttachBackend(std::move(headless));
  return ref;
}

}  // namespace platform::testing
