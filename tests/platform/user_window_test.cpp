// Windows: creation and destruction sequences, tree and z-order, class
// names, properties, window longs and subclassing, text, enumeration.
#include <cstring>
#include <string>

#include "support/window_fixture.h"

namespace {

using hwf::test::Expected;
using hwf::test::MatchSequence;
using hwf::test::WindowTest;

const std::set<UINT> kLifeCycle = {WM_NCCREATE, WM_NCCALCSIZE,   WM_CREATE,  WM_SIZE,
                                   WM_MOVE,     WM_PARENTNOTIFY, WM_DESTROY, WM_NCDESTROY};

TEST_F(WindowTest, CreatingABorderedChildSendsTheCreationMessagesWithItsClientGeometry) {
  HWND top = Top(100, 100, 300, 200);
  rec_.Clear();
  // WS_BORDER (1 px) and WS_EX_CLIENTEDGE (2 px) leave a 94 x 44 client area
  // whose top-left sits 3 px inside the window at (10, 20).
  HWND child = Child(top, 10, 20, 100, 50, WS_CHILD, WS_EX_CLIENTEDGE, 7);
  ASSERT_NE(child, nullptr);
  EXPECT_TRUE(MatchSequence(rec_.Only(kLifeCycle), {
                                                       {child, WM_NCCREATE},
                                                       {child, WM_NCCALCSIZE, FALSE},
                                                       {child, WM_CREATE},
                                                       {child, WM_SIZE, SIZE_RESTORED, MAKELPARAM(96, 46)},
                                                       {child, WM_MOVE, 0, MAKELPARAM(12, 22)},
                                                       {top, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, 7),
                                                        reinterpret_cast<LPARAM>(child)},
                                                   }));
  rec_.Clear();
  HWND bordered = Child(top, 0, 0, 100, 50, WS_CHILD | WS_BORDER, WS_EX_CLIENTEDGE);
  RECT rc;
  GetClientRect(bordered, &rc);
  EXPECT_EQ(rc.right, 94);
  EXPECT_EQ(rc.bottom, 44);
  POINT p{0, 0};
  ClientToScreen(bordered, &p);
  EXPECT_EQ(p.x, 103);
  EXPECT_EQ(p.y, 103);
}

TEST_F(WindowTest, NcCreateOrCreateRefusalDestroysTheWindowAndReturnsNull) {
  rec_.SetHandler([](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_CREATE) return -1;
    return std::nullopt;
  });
  EXPECT_EQ(Top(0, 0, 10, 10), nullptr);
  ASSERT_FALSE(rec_.Only({WM_NCDESTROY}).empty());
  EXPECT_FALSE(IsWindow(rec_.Only({WM_NCDESTROY}).front().hwnd));
}

TEST_F(WindowTest, DestroySendsDestroyParentFirstAndNcDestroyChildrenFirst) {
  HWND p = Top(0, 0, 200, 200);
  HWND a = Child(p, 0, 0, 50, 50);
  HWND a1 = Child(a, 0, 0, 10, 10);
  HWND b = Child(p, 60, 0, 50, 50);
  bool childrenAliveDuringParentDestroy = false;
  rec_.SetHandler([&](HWND h, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_DESTROY && h == p)
      childrenAliveDuringParentDestroy = IsWindow(a) && IsWindow(a1) && IsWindow(b);
    return std::nullopt;
  });
  rec_.Clear();
  EXPECT_TRUE(DestroyWindow(p));
  EXPECT_TRUE(childrenAliveDuringParentDestroy);
  EXPECT_TRUE(MatchSequence(rec_.Only({WM_DESTROY, WM_NCDESTROY}), {
                                                                       {p, WM_DESTROY},
                                                                       {a, WM_DESTROY},
                                                                       {a1, WM_DESTROY},
                                                                       {b, WM_DESTROY},
                                                                       {b, WM_NCDESTROY},
                                                                       {a1, WM_NCDESTROY},
                                                                       {a, WM_NCDESTROY},
                                                                       {p, WM_NCDESTROY},
                                                                   }));
  for (HWND h : {p, a, a1, b}) EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(DestroyWindow(p));
  EXPECT_EQ(platform::testing::LiveObjects(platform::HandleKind::Window), 0u);
}

TEST_F(WindowTest, AWindowDestroyedInsideItsOwnHandlerIsSafe) {
  HWND top = Top(0, 0, 100, 100);
  HWND victim = Child(top, 0, 0, 50, 50);
  int destroys = 0;
  LRESULT afterwards = 123;
  rec_.SetHandler([&](HWND h, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (h != victim) return std::nullopt;
    if (msg == WM_USER) {
      DestroyWindow(h);
      // The handle is dead, but this frame still runs: every call on it must
      // fail cleanly.
      afterwards = DefWindowProcA(h, WM_GETTEXTLENGTH, 0, 0) + SendMessageA(h, WM_USER + 1, 0, 0);
      SetPropA(h, "x", reinterpret_cast<HANDLE>(1));
      return 5;
    }
    if (msg == WM_DESTROY) {
      ++destroys;
      DestroyWindow(h);  // re-entrant destruction is a no-op
    }
    return std::nullopt;
  });
  EXPECT_EQ(SendMessageA(victim, WM_USER, 0, 0), 5);
  EXPECT_EQ(afterwards, 0);
  EXPECT_EQ(destroys, 1);
  EXPECT_FALSE(IsWindow(victim));
  EXPECT_EQ(SendMessageA(victim, WM_USER, 0, 0), 0);
  EXPECT_FALSE(PostMessageA(victim, WM_USER, 0, 0));
  EXPECT_EQ(GetPropA(victim, "x"), nullptr);
  EXPECT_TRUE(IsWindow(top));
}

TEST_F(WindowTest, NewChildrenGoBehindTheirEarlierSiblings) {
  HWND p = Top(0, 0, 200, 200);
  HWND a = Child(p, 0, 0, 50, 50);
  HWND b = Child(p, 10, 10, 50, 50);
  HWND c = Child(p, 20, 20, 50, 50);
  EXPECT_EQ(GetWindow(p, GW_CHILD), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
  EXPECT_EQ(GetWindow(c, GW_HWNDPREV), b);
  EXPECT_EQ(GetWindow(b, GW_HWNDLAST), c);
  EXPECT_EQ(GetWindow(a, GW_HWNDPREV), nullptr);
  EXPECT_EQ(WindowFromPoint(POINT{25, 25}), a) << "the first created is in front";
  SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(p, GW_CHILD), c);
  EXPECT_EQ(WindowFromPoint(POINT{25, 25}), c);
  EXPECT_EQ(GetParent(a), p);
  EXPECT_EQ(GetAncestor(a, GA_ROOT), p);
  EXPECT_TRUE(IsChild(p, a));
  EXPECT_FALSE(IsChild(a, p));
}

TEST_F(WindowTest, ClassNamesOfAnyLengthAreCopiedLikeWin32) {
  std::string longName(300, 'k');
  longName.replace(0, 5, "Thund");
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = longName.c_str();
  ASSERT_NE(RegisterClassA(&wc), 0);
  EXPECT_EQ(RegisterClassA(&wc), 0) << "a second registration fails";
  HWND h =
      CreateWindowExA(0, longName.c_str(), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(h, nullptr);
  char buf[255];
  std::memset(buf, 'x', sizeof buf);
  // At most size - 1 characters; the NUL always lands inside the buffer.
  EXPECT_EQ(GetClassNameA(h, buf, 255), 254);
  EXPECT_EQ(buf[254], '\0');
  EXPECT_EQ(std::string(buf), longName.substr(0, 254));
  std::string whole(400, '\0');
  EXPECT_EQ(GetClassNameA(h, whole.data(), 400), 300);
  EXPECT_EQ(whole.c_str(), longName);
  EXPECT_EQ(GetClassNameA(h, buf, 0), 0);
  EXPECT_EQ(GetClassNameA(nullptr, buf, 255), 0);
  // Class lookups ignore case, as Win32's do.
  std::string upper = longName;
  for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  EXPECT_NE(CreateWindowExA(0, upper.c_str(), "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  DestroyWindow(h);
}

TEST_F(WindowTest, PropertiesReadZeroWhenAbsentAndTakeNamesOfAnyLength) {
  HWND h = Top(0, 0, 10, 10);
  std::string longA(1000, 'p'), longB = longA + "q";
  EXPECT_EQ(GetPropA(h, "PROCADDR"), nullptr);
  EXPECT_TRUE(SetPropA(h, "PROCADDR", reinterpret_cast<HANDLE>(0x1234)));
  EXPECT_TRUE(SetPropA(h, longA.c_str(), reinterpret_cast<HANDLE>(1)));
  EXPECT_TRUE(SetPropA(h, longB.c_str(), reinterpret_cast<HANDLE>(2)));
  EXPECT_EQ(GetPropA(h, "procaddr"), reinterpret_cast<HANDLE>(0x1234)) << "names are case-insensitive atoms";
  EXPECT_EQ(GetPropA(h, longA.c_str()), reinterpret_cast<HANDLE>(1));
  EXPECT_EQ(GetPropA(h, longB.c_str()), reinterpret_cast<HANDLE>(2));
  SetPropA(h, "PROCADDR", reinterpret_cast<HANDLE>(0x99));
  EXPECT_EQ(RemovePropA(h, "PROCADDR"), reinterpret_cast<HANDLE>(0x99));
  EXPECT_EQ(GetPropA(h, "PROCADDR"), nullptr);
  EXPECT_EQ(RemovePropA(h, "PROCADDR"), nullptr);
  EXPECT_FALSE(SetPropA(h, nullptr, nullptr));
  DestroyWindow(h);
  EXPECT_EQ(GetPropA(h, longA.c_str()), nullptr);
}

TEST_F(WindowTest, WindowLongsReturnThePreviousValue) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.cbWndExtra = 16;
  wc.lpszClassName = "ExtraBytes";
  RegisterClassA(&wc);
  HWND h = CreateWindowExA(0, "ExtraBytes", "", WS_CHILD | WS_BORDER, 0, 0, 10, 10, Top(0, 0, 50, 50),
                           reinterpret_cast<HMENU>(5), nullptr, nullptr);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GetWindowLongPtrA(h, GWLP_ID), 5);
  EXPECT_EQ(SetWindowLongPtrA(h, GWLP_USERDATA, 77), 0);
  EXPECT_EQ(SetWindowLongPtrA(h, GWLP_USERDATA, 78), 77);
  EXPECT_EQ(SetWindowLongPtrA(h, 8, 0x1122334455667788), 0);
  EXPECT_EQ(GetWindowLongPtrA(h, 8), 0x1122334455667788);
  EXPECT_EQ(SetWindowLongA(h, 0, -5), 0);
  EXPECT_EQ(GetWindowLongA(h, 0), -5);
  EXPECT_EQ(GetWindowLongA(h, 4), 0) << "the 32-bit write touched only its own four bytes";
  EXPECT_EQ(SetWindowLongPtrA(h, 9, 1), 0) << "a long that would run past the extra bytes is refused";
  EXPECT_EQ(GetWindowLongA(h, 16), 0);
  LONG old = SetWindowLongA(h, GWL_STYLE, WS_CHILD);
  EXPECT_EQ(static_cast<DWORD>(old), static_cast<DWORD>(WS_CHILD | WS_BORDER));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)), static_cast<DWORD>(WS_CHILD));
}

LRESULT CALLBACK ConstantProc(HWND, UINT, WPARAM, LPARAM) { return 4242; }

TEST_F(WindowTest, SubclassesChainFromTheLastInstalledToTheClassProcedure) {
  HWND h = Top(0, 0, 10, 10);
  rec_.Subclass(h, "first");
  rec_.Subclass(h, "second");
  rec_.Clear();
  SendMessageA(h, WM_USER + 3, 1, 2);
  auto log = rec_.Only({WM_USER + 3});
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0].tag, "second");
  EXPECT_EQ(log[1].tag, "first");
  EXPECT_EQ(log[2].tag, "");

  // Replacing the procedure returns the previous one; messages then go to
  // the new one; putting the old one back (even through the 32-bit call)
  // restores the chain.
  LONG_PTR prev = SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ConstantProc));
  EXPECT_EQ(GetWindowLongPtrA(h, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&ConstantProc));
  EXPECT_EQ(SendMessageA(h, WM_USER, 0, 0), 4242);
  EXPECT_EQ(CallWindowProcA(reinterpret_cast<WNDPROC>(prev), h, WM_GETTEXTLENGTH, 0, 0), 3);
  EXPECT_EQ(SetWindowLongA(h, GWL_WNDPROC, static_cast<LONG>(prev)),
            static_cast<LONG>(reinterpret_cast<LONG_PTR>(&ConstantProc)));
  EXPECT_EQ(GetWindowLongPtrA(h, GWLP_WNDPROC), prev);
  EXPECT_EQ(SendMessageA(h, WM_GETTEXTLENGTH, 0, 0), 3);
  EXPECT_EQ(SetWindowLongA(h, GWL_WNDPROC, 0x1234), 0) << "an unknown 32-bit procedure is refused";
  EXPECT_EQ(GetWindowLongPtrA(h, GWLP_WNDPROC), prev);
}

TEST_F(WindowTest, TextGoesThroughTheTextMessagesAndNeverSplitsACharacter) {
  HWND h = Top(0, 0, 10, 10);
  rec_.Clear();
  EXPECT_TRUE(SetWindowTextA(h, "绘纹坊"));  // 9 bytes of UTF-8
  EXPECT_EQ(GetWindowTextLengthA(h), 9);
  char buf[16];
  EXPECT_EQ(GetWindowTextA(h, buf, sizeof buf), 9);
  EXPECT_STREQ(buf, "绘纹坊");
  // Five bytes hold four characters' worth of room: only one whole
  // three-byte character fits.
  EXPECT_EQ(GetWindowTextA(h, buf, 5), 3);
  EXPECT_STREQ(buf, "绘");
  EXPECT_TRUE(
      MatchSequence(rec_.Only({WM_SETTEXT, WM_GETTEXT, WM_GETTEXTLENGTH}),
                    {{h, WM_SETTEXT}, {h, WM_GETTEXTLENGTH}, {h, WM_GETTEXT, 16}, {h, WM_GETTEXT, 5}}));
}

TEST_F(WindowTest, EnumChildWindowsWalksAllDescendantsInPreOrderAndSurvivesChanges) {
  HWND p = Top(0, 0, 200, 200);
  HWND a = Child(p, 0, 0, 50, 50);
  HWND a1 = Child(a, 0, 0, 20, 20);
  HWND a1a = Child(a1, 0, 0, 5, 5);
  HWND a2 = Child(a, 20, 0, 20, 20);
  HWND b = Child(p, 60, 0, 50, 50);
  struct Walk {
    std::vector<HWND> seen;
    HWND destroyAt = nullptr, victim = nullptr, parentForNew = nullptr;
    int stopAfter = 1000;
    const char* cls = nullptr;
  };
  auto proc = [](HWND h, LPARAM lp) -> BOOL {
    auto* w = reinterpret_cast<Walk*>(lp);
    w->seen.push_back(h);
    if (h == w->destroyAt) {
      DestroyWindow(w->victim);
      CreateWindowExA(0, w->cls, "", WS_CHILD, 0, 0, 1, 1, w->parentForNew, nullptr, nullptr, nullptr);
    }
    return static_cast<int>(w->seen.size()) < w->stopAfter;
  };
  Walk all;
  EXPECT_TRUE(EnumChildWindows(p, proc, reinterpret_cast<LPARAM>(&all)));
  EXPECT_EQ(all.seen, (std::vector<HWND>{a, a1, a1a, a2, b}));

  Walk changing{{}, a1, a2, p, 1000, cls_.c_str()};
  EnumChildWindows(p, proc, reinterpret_cast<LPARAM>(&changing));
  EXPECT_EQ(changing.seen, (std::vector<HWND>{a, a1, a1a, b})) << "destroyed a2 skipped";

  Walk stopping{{}, nullptr, nullptr, nullptr, 2};
  EXPECT_FALSE(EnumChildWindows(p, proc, reinterpret_cast<LPARAM>(&stopping)));
  EXPECT_EQ(stopping.seen.size(), 2u);
  EXPECT_FALSE(EnumChildWindows(nullptr, proc, 0));
}

TEST_F(WindowTest, MovingAChildReportsPositionAndSizeChanges) {
  HWND top = Top(50, 60, 300, 300, WS_POPUP | WS_VISIBLE | WS_CAPTION);
  HWND c = Child(top, 10, 10, 100, 80, WS_CHILD | WS_VISIBLE | WS_CAPTION);
  RECT rc;
  GetClientRect(c, &rc);
  // Dialog frame 3 px on each side plus a 19 px caption.
  EXPECT_EQ(rc.right, 94);
  EXPECT_EQ(rc.bottom, 80 - 6 - 19);
  GetWindowRect(top, &rc);
  EXPECT_EQ(rc.left, 50) << "a top-level frame belongs to the desktop";
  EXPECT_EQ(rc.right, 350);
  rec_.Clear();
  EXPECT_TRUE(MoveWindow(c, 20, 30, 120, 90, TRUE));
  EXPECT_TRUE(
      MatchSequence(rec_.Only({WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE, WM_NCCALCSIZE}),
                    {
                        {c, WM_WINDOWPOSCHANGING},
                        {c, WM_NCCALCSIZE},
                        {c, WM_WINDOWPOSCHANGED},
                        {c, WM_MOVE, 0, MAKELPARAM(23, 30 + 3 + 19)},
                        {c, WM_SIZE, SIZE_RESTORED, MAKELPARAM(114, 90 - 22 - 3)},
                    }));
  GetWindowRect(c, &rc);
  EXPECT_EQ(rc.left, 70);
  EXPECT_EQ(rc.top, 90);
  EXPECT_EQ(rc.right, 190);
  POINT pts[2] = {{0, 0}, {5, 5}};
  MapWindowPoints(c, top, pts, 2);
  EXPECT_EQ(pts[0].x, 23);
  EXPECT_EQ(pts[1].y, 30 + 22 + 5);
}

TEST_F(WindowTest, EnableWindowSendsWmEnableOnlyOnChangeAndReportsThePreviousState) {
  HWND h = Top(0, 0, 10, 10);
  rec_.Clear();
  EXPECT_FALSE(EnableWindow(h, FALSE)) << "was enabled";
  EXPECT_TRUE(EnableWindow(h, FALSE)) << "was already disabled";
  EXPECT_FALSE(IsWindowEnabled(h));
  EXPECT_TRUE(EnableWindow(h, TRUE));
  EXPECT_TRUE(IsWindowEnabled(h));
  EXPECT_TRUE(MatchSequence(rec_.Only({WM_ENABLE}), {{h, WM_ENABLE, FALSE}, {h, WM_ENABLE, TRUE}}));
  EXPECT_FALSE(EnableWindow(nullptr, TRUE));
}

TEST_F(WindowTest, VisibilityFollowsTheAncestors) {
  HWND top = Top(0, 0, 100, 100, WS_POPUP);
  HWND c = Child(top, 0, 0, 10, 10);
  EXPECT_FALSE(IsWindowVisible(c)) << "its parent is hidden";
  ShowWindow(top, SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(c));
  EXPECT_TRUE(ShowWindow(c, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(c));
  EXPECT_FALSE(ShowWindow(c, SW_HIDE));
}

}  // namespace

namespace {

TEST(MessageRecorderSelfCheck, MismatchesInLengthHandleOrParametersAreReported) {
  HWND h = reinterpret_cast<HWND>(0x10);
  std::vector<hwf::test::LoggedMessage> log = {{h, WM_CREATE, 0, 0, false, ""},
                                               {h, WM_SIZE, 0, 5, false, ""}};
  EXPECT_TRUE(hwf::test::MatchSequence(log, {{h, WM_CREATE}, {h, WM_SIZE, 0, 5}}));
  EXPECT_FALSE(hwf::test::MatchSequence(log, {{h, WM_CREATE}}));
  EXPECT_FALSE(hwf::test::MatchSequence(log, {{h, WM_CREATE}, {h, WM_SIZE}, {h, WM_MOVE}}));
  EXPECT_FALSE(hwf::test::MatchSequence(log, {{h, WM_CREATE}, {h, WM_SIZE, 0, 6}}));
  EXPECT_FALSE(hwf::test::MatchSequence(log, {{nullptr, WM_CREATE}, {h, WM_SIZE}}));
}

}  // namespace
