// The backend edge: what the window manager tells a screen, what it
// presents (only what changed), how long it lets the screen sleep; the SDL
// key mapping; the clipboard; controls' notifications.
#include <SDL.h>

#include "platform/backend/sdl2_keys.h"
#include "platform/user/clipboard.h"
#include "platform/user/notify.h"
#include "support/rect_compare.h"
#include "support/window_fixture.h"

namespace {

using hwf::test::MatchSequence;
using hwf::test::WindowTest;
namespace pt = platform::testing;

class BackendTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    screen_ = &pt::AttachHeadlessScreen(SIZE{800, 600});
  }
  // Runs the loop until it has gone to sleep `sleeps` times.
  void RunUntilIdle(int sleeps = 1) {
    pt::SetIdleHook([&sleeps] {
      if (--sleeps == 0) PostQuitMessage(0);
      return false;  // the wait still happens; the loop ends after it
    });
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    pt::SetIdleHook(nullptr);
  }
  platform::backend::HeadlessBackend* screen_ = nullptr;
};

TEST_F(BackendTest, OnlyTheChangedAreaIsPresentedBeforeTheScreenSleeps) {
  std::string brushed = rec_.RegisterClass("Brushed", 0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  HWND top = Top(0, 0, 100, 80);
  HWND child = CreateWindowExA(0, brushed.c_str(), "", WS_CHILD | WS_VISIBLE, 10, 20, 30, 15, top, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(screen_->State(top), nullptr);
  EXPECT_TRUE(screen_->State(top)->visible);
  RunUntilIdle();
  ASSERT_EQ(screen_->PresentCount(top), 1);
  EXPECT_EQ(screen_->LastPresent(top), (std::vector<RECT>{RECT{0, 0, 100, 80}}));
  EXPECT_EQ(screen_->Waits(), (std::vector<int>{-1})) << "no timer: sleep until input";

  pt::AdvanceTime(100);  // a frame later
  InvalidateRect(child, nullptr, TRUE);
  SetTimer(top, 1, 250, nullptr);
  RunUntilIdle();
  ASSERT_EQ(screen_->PresentCount(top), 2);
  EXPECT_EQ(screen_->LastPresent(top), (std::vector<RECT>{RECT{10, 20, 40, 35}}));
  EXPECT_EQ(screen_->Waits()[1], 250) << "sleep until the timer is due";

  KillTimer(top, 1);
  RunUntilIdle();
  EXPECT_EQ(screen_->PresentCount(top), 2) << "nothing changed, nothing presented";
  DestroyWindow(top);
  EXPECT_EQ(screen_->State(top), nullptr) << "the screen forgets a destroyed window";
}

TEST_F(BackendTest, ScreenSizeAndClipboardComeFromTheScreen) {
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 600);
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 800);
  EXPECT_EQ(GetDeviceCaps(screen, VERTRES), 600);
  ReleaseDC(nullptr, screen);
  platform::user::SetClipboardText("剪贴板");
  EXPECT_EQ(screen_->ClipboardText(), "剪贴板");
  screen_->SetClipboardText("back");
  EXPECT_EQ(platform::user::GetClipboardText(), "back");
}

TEST(SdlKeys, KeysMapToTheirVirtualKeyCodes) {
  using platform::backend::VirtualKeyFromSdl;
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_a), static_cast<UINT>('A'));
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_z), static_cast<UINT>('Z'));
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_0), static_cast<UINT>('0'));
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_9), static_cast<UINT>('9'));
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_F1), static_cast<UINT>(VK_F1));
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_F12), static_cast<UINT>(VK_F12));
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_ENTER), static_cast<UINT>(VK_RETURN));
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_RSHIFT), static_cast<UINT>(VK_SHIFT));
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_TAB), static_cast<UINT>(VK_TAB));
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_PAGEDOWN), static_cast<UINT>(VK_NEXT));
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_AUDIOPLAY), 0u);
}

TEST(Clipboard, HeadlessKeepsItsOwnText) {
  platform::user::SetClipboardText("abc");
  EXPECT_EQ(platform::user::GetClipboardText(), "abc");
}

using NotifyTest = WindowTest;

TEST_F(NotifyTest, ControlsNotifyTheirParentWithIdAndCode) {
  HWND top = Top(0, 0, 100, 100);
  HWND button = Child(top, 0, 0, 10, 10, WS_CHILD, 0, 31);
  rec_.Clear();
  platform::user::NotifyParent(button, BN_CLICKED);
  EXPECT_EQ(platform::user::NotifyParent(top, BN_CLICKED), 0) << "a top-level window has no parent to tell";
  EXPECT_TRUE(MatchSequence(rec_.Only({WM_COMMAND}), {{top, WM_COMMAND, MAKEWPARAM(31, BN_CLICKED),
                                                       reinterpret_cast<LPARAM>(button)}}));
}

LRESULT CALLBACK Answer(HWND, UINT, WPARAM, LPARAM) { return 77; }

TEST_F(NotifyTest, AProcedureTruncatedTo32BitsIsMappedBackOrRefused) {
  HWND h = Top(0, 0, 10, 10);
  SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Answer));
  LONG low = GetWindowLongA(h, GWL_WNDPROC);
  auto truncated = reinterpret_cast<WNDPROC>(static_cast<std::uintptr_t>(static_cast<std::uint32_t>(low)));
  EXPECT_EQ(CallWindowProcA(truncated, h, WM_USER, 0, 0), 77);
  EXPECT_EQ(CallWindowProcA(reinterpret_cast<WNDPROC>(std::uintptr_t{0x1234}), h, WM_USER, 0, 0), 0)
      << "no jump into nowhere";
}

}  // namespace
