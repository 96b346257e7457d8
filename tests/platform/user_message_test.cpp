// Messages and timers: queue order, retrieval filters, quitting, keyboard
// translation, timers under virtual time, runaway recursion, dead windows.
#include "support/window_fixture.h"

namespace {

using hwf::test::Expected;
using hwf::test::MatchSequence;
using hwf::test::WindowTest;
namespace pt = platform::testing;

using MessageTest = WindowTest;

TEST_F(MessageTest, PostedMessagesComeOutInOrderAndPeekCanLeaveThemQueued) {
  HWND h = Top(0, 0, 10, 10);
  Pump();
  PostMessageA(h, WM_USER + 1, 1, 0);
  PostMessageA(h, WM_USER + 2, 2, 0);
  PostMessageA(h, WM_APP, 3, 0);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 1));
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_APP, WM_APP, PM_REMOVE))
      << "a range filter skips earlier messages";
  EXPECT_EQ(m.wParam, 3u);
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 1));
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 2));
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageTest, QuitComesAfterPostedMessagesAndEndsGetMessage) {
  HWND h = Top(0, 0, 10, 10);
  Pump();
  PostQuitMessage(3);
  PostMessageA(h, WM_USER, 0, 0);
  MSG m;
  EXPECT_TRUE(GetMessageA(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER));
  EXPECT_FALSE(GetMessageA(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(m.wParam, 3u);
}

TEST_F(MessageTest, HeadlessGetMessageWithNothingLeftToHappenEndsLikeAQuit) {
  Top(0, 0, 10, 10);
  Pump();
  MSG m;
  EXPECT_FALSE(GetMessageA(&m, nullptr, 0, 0));
}

TEST_F(MessageTest, MessagesForADestroyedWindowAreNeverDelivered) {
  HWND a = Top(0, 0, 10, 10);
  HWND b = Top(0, 0, 10, 10);
  Pump();
  PostMessageA(a, WM_USER, 0, 0);
  PostMessageA(b, WM_USER, 0, 0);
  DestroyWindow(a);
  rec_.Clear();
  Pump();
  EXPECT_TRUE(MatchSequence(rec_.Only({WM_USER}), {{b, WM_USER}}));
  EXPECT_EQ(SendMessageA(a, WM_GETTEXTLENGTH, 0, 0), 0);
  EXPECT_EQ(DispatchMessageA(nullptr), 0);
}

TEST_F(MessageTest, UnknownMessagesFallToTheDefaultProcedure) {
  HWND h = Top(0, 0, 10, 10);
  EXPECT_EQ(SendMessageA(h, 0x7FFF, 1, 2), 0);
  EXPECT_EQ(DefWindowProcA(h, 0xC123, 1, 2), 0);
  EXPECT_EQ(DefWindowProcA(nullptr, WM_GETTEXTLENGTH, 0, 0), 0);
}

TEST_F(MessageTest, RunawaySendRecursionIsCutOffInsteadOfOverflowingTheStack) {
  HWND h = Top(0, 0, 10, 10);
  int deepest = 0;
  rec_.SetHandler([&](HWND hwnd, UINT msg, WPARAM w, LPARAM) -> std::optional<LRESULT> {
    if (msg != WM_USER) return std::nullopt;
    deepest = std::max(deepest, static_cast<int>(w));
    return SendMessageA(hwnd, WM_USER, w + 1, 0) + 1;
  });
  LRESULT r = SendMessageA(h, WM_USER, 1, 0);
  EXPECT_GE(deepest, 100) << "ordinary nesting works";
  EXPECT_LT(deepest, 100000);
  EXPECT_EQ(r, deepest) << "each level adds one to the 0 of the refused call";
  EXPECT_EQ(SendMessageA(h, WM_GETTEXTLENGTH, 0, 0), 3) << "the window still works afterwards";
}

TEST_F(MessageTest, TranslatedKeysGiveCharactersBetweenDownAndUp) {
  HWND h = Top(0, 0, 10, 10);
  SetFocus(h);
  Pump();
  rec_.Clear();
  pt::KeyDown(VK_RETURN);
  pt::KeyUp(VK_RETURN);
  pt::Text("绘");
  Pump();
  EXPECT_TRUE(MatchSequence(rec_.Only({WM_KEYDOWN, WM_KEYUP, WM_CHAR}), {
                                                                            {h, WM_KEYDOWN, VK_RETURN},
                                                                            {h, WM_CHAR, '\r'},
                                                                            {h, WM_KEYUP, VK_RETURN},
                                                                            {h, WM_CHAR, 0xE7},
                                                                            {h, WM_CHAR, 0xBB},
                                                                            {h, WM_CHAR, 0x98},
                                                                        }));
  auto downs = rec_.Only({WM_KEYUP});
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_TRUE(downs[0].lParam & (1u << 31)) << "transition state of a release";
  EXPECT_TRUE(downs[0].lParam & (1u << 30)) << "the key was down before";
}

TEST_F(MessageTest, TimersTickOncePerIntervalAndMissedTicksNeverPileUp) {
  HWND h = Top(0, 0, 10, 10);
  Pump();
  rec_.Clear();
  EXPECT_EQ(SetTimer(h, 1, 15, nullptr), 1u);
  pt::AdvanceTime(14);
  Pump();
  EXPECT_EQ(rec_.Count(h, WM_TIMER), 0);
  pt::AdvanceTime(1);
  Pump();
  EXPECT_EQ(rec_.Count(h, WM_TIMER), 1);
  Pump();
  EXPECT_EQ(rec_.Count(h, WM_TIMER), 1) << "one tick per due time";
  pt::AdvanceTime(15 * 10);
  Pump();
  EXPECT_EQ(rec_.Count(h, WM_TIMER), 2) << "ten missed intervals give one tick";
  pt::AdvanceTime(14);
  Pump();
  EXPECT_EQ(rec_.Count(h, WM_TIMER), 2) << "the next tick is one interval after the last delivery";
  pt::AdvanceTime(1);
  Pump();
  EXPECT_EQ(rec_.Count(h, WM_TIMER), 3);
  EXPECT_TRUE(KillTimer(h, 1));
  EXPECT_FALSE(KillTimer(h, 1));
  pt::AdvanceTime(100);
  Pump();
  EXPECT_EQ(rec_.Count(h, WM_TIMER), 3);
  EXPECT_TRUE(
      MatchSequence(rec_.Only({WM_TIMER}), {{h, WM_TIMER, 1, 0}, {h, WM_TIMER, 1, 0}, {h, WM_TIMER, 1, 0}}));
}

TEST_F(MessageTest, TimerMessagesWaitUntilPostedMessagesAndPaintsAreDone) {
  HWND h = Top(0, 0, 10, 10);
  Pump();
  SetTimer(h, 7, 10, nullptr);
  pt::AdvanceTime(10);
  PostMessageA(h, WM_USER, 0, 0);
  InvalidateRect(h, nullptr, FALSE);
  rec_.Clear();
  Pump();
  EXPECT_TRUE(MatchSequence(rec_.Only({WM_USER, WM_PAINT, WM_TIMER}),
                            {{h, WM_USER}, {h, WM_PAINT}, {h, WM_TIMER, 7}}));
}

std::vector<std::pair<HWND, UINT_PTR>> g_ticks;
void CALLBACK RecordTick(HWND h, UINT msg, UINT_PTR id, DWORD) {
  if (msg == WM_TIMER) g_ticks.emplace_back(h, id);
}

TEST_F(MessageTest, TimerCallbacksRunInsteadOfTheWindowProcedure) {
  g_ticks.clear();
  HWND h = Top(0, 0, 10, 10);
  Pump();
  rec_.Clear();
  SetTimer(h, 2, 20, RecordTick);
  UINT_PTR threadTimer = SetTimer(nullptr, 0, 30, RecordTick);
  EXPECT_NE(threadTimer, 0u);
  EXPECT_NE(SetTimer(nullptr, 0, 30, RecordTick), threadTimer) << "thread timers get fresh identifiers";
  pt::AdvanceTime(30);
  Pump();
  EXPECT_EQ(rec_.Count(h, WM_TIMER), 0);
  ASSERT_EQ(g_ticks.size(), 3u);
  EXPECT_EQ(g_ticks[0], std::make_pair(h, UINT_PTR{2})) << "the earliest due timer first";
  EXPECT_EQ(g_ticks[1].first, nullptr);
  EXPECT_TRUE(KillTimer(nullptr, threadTimer));
  EXPECT_EQ(SetTimer(reinterpret_cast<HWND>(0x4321), 1, 10, nullptr), 0u) << "no timer for a dead window";
}

TEST_F(MessageTest, DestroyingAWindowKillsItsTimers) {
  HWND h = Top(0, 0, 10, 10);
  std::size_t before = pt::PendingTimers();
  SetTimer(h, 1, 15, nullptr);
  SetTimer(h, 2, 15, nullptr);
  EXPECT_EQ(pt::PendingTimers(), before + 2);
  DestroyWindow(h);
  EXPECT_EQ(pt::PendingTimers(), before);
}

}  // namespace
