// Modal loops, modules and system metrics.
#include "platform/handles.h"
#include "platform/user/modal.h"

#include "support/window_fixture.h"

namespace {

using hwf::test::MatchSequence;
using hwf::test::WindowTest;
using platform::user::EndModalLoop;
using platform::user::RunModalLoop;
namespace pt = platform::testing;

using ModalTest = WindowTest;

TEST_F(ModalTest, TheOwnerIsDisabledHearsEnterIdleAndItsTimerKeepsTicking) {
  HWND owner = Top(0, 0, 300, 300);
  HWND dialog = Top(50, 50, 100, 100);
  Pump();
  SetTimer(owner, 1, 2000, nullptr);
  int ticks = 0;
  bool ownerEnabledDuringLoop = true;
  rec_.SetHandler([&](HWND h, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (h == owner && msg == WM_TIMER) {
      ownerEnabledDuringLoop = ownerEnabledDuringLoop && IsWindowEnabled(owner);
      if (++ticks == 3) EndModalLoop(dialog, 42);
    }
    return std::nullopt;
  });
  rec_.Clear();
  std::uint64_t start = pt::Now();
  EXPECT_EQ(RunModalLoop(dialog, owner), 42);
  EXPECT_EQ(pt::Now() - start, 6000u) << "the loop slept through virtual time to each tick";
  EXPECT_FALSE(ownerEnabledDuringLoop);
  EXPECT_TRUE(IsWindowEnabled(owner));
  const LPARAM d = reinterpret_cast<LPARAM>(dialog);
  EXPECT_TRUE(MatchSequence(rec_.Filtered([&](const hwf::test::LoggedMessage& m) {
    return m.hwnd == owner && (m.msg == WM_ENABLE || m.msg == WM_ENTERIDLE || m.msg == WM_TIMER);
  }),
                            {
                                {owner, WM_ENABLE, FALSE},
                                {owner, WM_ENTERIDLE, MSGF_DIALOGBOX, d},
                                {owner, WM_TIMER, 1},
                                {owner, WM_ENTERIDLE, MSGF_DIALOGBOX, d},
                                {owner, WM_TIMER, 1},
                                {owner, WM_ENTERIDLE, MSGF_DIALOGBOX, d},
                                {owner, WM_TIMER, 1},
                                {owner, WM_ENABLE, TRUE},
                            }));
  EXPECT_EQ(GetActiveWindow(), owner) << "the owner is active again";
}

TEST_F(ModalTest, ClicksOnTheDisabledOwnerAreDroppedWhileTheDialogGetsItsOwn) {
  HWND owner = Top(0, 0, 300, 300);
  HWND dialog = Top(400, 0, 100, 100);
  Pump();
  int step = 0;
  pt::SetIdleHook([&]() {
    switch (step++) {
      case 0:
        pt::Click(10, 10);   // on the owner
        pt::Click(410, 10);  // on the dialog
        pt::RequestClose(owner);
        return true;
      default:
        EndModalLoop(dialog, 7);
        return true;
    }
  });
  rec_.Clear();
  EXPECT_EQ(RunModalLoop(dialog, owner), 7);
  EXPECT_EQ(rec_.Count(owner, WM_LBUTTONDOWN), 0);
  EXPECT_EQ(rec_.Count(owner, WM_CLOSE), 0) << "a disabled window ignores its close button";
  EXPECT_EQ(rec_.Count(dialog, WM_LBUTTONDOWN), 1);
  EXPECT_TRUE(IsWindow(owner));
}

TEST_F(ModalTest, QuitEndsTheLoopAndIsPostedAgainForTheOuterLoop) {
  HWND owner = Top(0, 0, 100, 100);
  HWND dialog = Top(0, 0, 50, 50);
  PostMessageA(dialog, WM_USER, 0, 0);
  rec_.SetHandler([&](HWND h, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (h == dialog && msg == WM_USER) PostQuitMessage(9);
    return std::nullopt;
  });
  EXPECT_EQ(RunModalLoop(dialog, owner), 0);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(m.wParam, 9u);
  EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(ModalTest, ADialogDestroyedDuringItsLoopEndsItWithMinusOne) {
  HWND owner = Top(0, 0, 100, 100);
  HWND dialog = Top(0, 0, 50, 50);
  PostMessageA(dialog, WM_CLOSE, 0, 0);  // the default procedure destroys it
  EXPECT_EQ(RunModalLoop(dialog, owner), -1);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_FALSE(EndModalLoop(dialog, 1)) << "no loop runs for it any more";
  HWND lone = Top(0, 0, 10, 10);
  EXPECT_EQ(RunModalLoop(lone, nullptr), -1) << "headless with nothing that could end it";
}

TEST_F(ModalTest, NestedLoopsEndInnermostFirst) {
  HWND owner = Top(0, 0, 100, 100);
  HWND outer = Top(0, 0, 50, 50);
  HWND inner = Top(0, 0, 20, 20);
  INT_PTR innerResult = 0;
  PostMessageA(outer, WM_USER, 0, 0);
  rec_.SetHandler([&](HWND h, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (h == outer && msg == WM_USER) {
      PostMessageA(inner, WM_USER + 1, 0, 0);
      innerResult = RunModalLoop(inner, outer);
      EndModalLoop(outer, 2);
    }
    if (h == inner && msg == WM_USER + 1) EndModalLoop(inner, 1);
    return std::nullopt;
  });
  EXPECT_EQ(RunModalLoop(outer, owner), 2);
  EXPECT_EQ(innerResult, 1);
  EXPECT_TRUE(IsWindowEnabled(outer));
  EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST(Modules, TheLayersOwnLibrariesExportTheirMouseTrackers) {
  HMODULE user = GetModuleHandleA("User32");
  ASSERT_NE(user, nullptr);
  EXPECT_EQ(GetModuleHandleA("USER32.DLL"), user);
  EXPECT_EQ(LoadLibraryA("user32.dll"), user);
  EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(user, "TrackMouseEvent")),
            reinterpret_cast<void*>(&TrackMouseEvent));
  EXPECT_EQ(GetProcAddress(user, "trackmouseevent"), nullptr) << "export names are case-sensitive";
  EXPECT_EQ(GetProcAddress(user, "_TrackMouseEvent"), nullptr);
  HMODULE comctl = LoadLibraryA("Comctl32");
  ASSERT_NE(comctl, nullptr);
  EXPECT_NE(GetProcAddress(comctl, "_TrackMouseEvent"), nullptr);
  EXPECT_TRUE(FreeLibrary(comctl));
  EXPECT_EQ(LoadLibraryA("NoSuchLib"), nullptr);
  EXPECT_EQ(GetModuleHandleA("NoSuchLib"), nullptr);
  EXPECT_EQ(GetProcAddress(nullptr, "TrackMouseEvent"), nullptr);
  EXPECT_EQ(platform::LiveHandleCount(platform::HandleKind::Module), 0u)
      << "the program's own modules are never released, so they are no leak";
}

TEST(Metrics, ClassicValuesAt96Dpi) {
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
  EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), 17);
  EXPECT_EQ(GetSystemMetrics(SM_CXMENUCHECK), 13);
  EXPECT_EQ(GetSystemMetrics(SM_CYMENUCHECK), 13);
  EXPECT_EQ(GetSystemMetrics(SM_CXEDGE), 2);
  EXPECT_EQ(GetSystemMetrics(SM_CXBORDER), 1);
  EXPECT_EQ(GetSystemMetrics(SM_CXDLGFRAME), 3);
  EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 19);
  EXPECT_EQ(GetSystemMetrics(SM_CXDOUBLECLK), 4);
  EXPECT_EQ(GetSystemMetrics(12345), 0);
  RECT r{0, 0, 100, 100};
  AdjustWindowRectEx(&r, WS_CHILD | WS_CAPTION | WS_VSCROLL, FALSE, WS_EX_CLIENTEDGE);
  EXPECT_EQ(r.left, -5);
  EXPECT_EQ(r.top, -24);
  EXPECT_EQ(r.right, 100 + 3 + 2 + 17);
}

}  // namespace
