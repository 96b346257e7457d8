// Popup menus: the messages of a tracked menu, choosing with the mouse and
// the keyboard, cancelling, where the menu goes on screen, and handles.
#include "menu_fixture.h"
#include "platform/handles.h"

namespace {

using hwf::test::MatchSequence;
using hwf::test::MenuTest;
using platform::HandleKind;
namespace pt = platform::testing;

TEST_F(MenuTest, HoverAndAClickChooseAnItemAndItsCommandIsPostedAfterTheMenuIsGone) {
  HWND shown = nullptr;
  RECT where{};
  bool ownerStaysActive = false, topmost = false;
  HWND focusDuring = nullptr;
  char cls[16] = {};
  BOOL r = Track(0, 300, 200,
                 {
                     [&] {
                       shown = MenuWindow();
                       GetWindowRect(shown, &where);
                       GetClassNameA(shown, cls, sizeof cls);
                       topmost = GetWindowLongA(shown, GWL_EXSTYLE) & WS_EX_TOPMOST;
                       ownerStaysActive = GetActiveWindow() == owner_;
                       focusDuring = GetFocus();
                       MoveTo(kForwardPos);
                     },
                     [&] { MoveTo(kBackPos); },
                     [&] { ClickItem(kBackPos); },
                 });
  EXPECT_EQ(r, TRUE);
  ASSERT_NE(shown, nullptr);
  EXPECT_STREQ(cls, "#32768");
  EXPECT_EQ(where.left, 300);
  EXPECT_EQ(where.top, 200);
  EXPECT_TRUE(topmost);
  EXPECT_TRUE(ownerStaysActive) << "the menu takes no activation";
  EXPECT_EQ(focusDuring, focus_);
  EXPECT_FALSE(IsWindow(shown));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(rec_.Count(owner_, WM_COMMAND), 0) << "posted, so it comes after TrackPopupMenu returns";
  Pump();
  EXPECT_TRUE(MatchSequence(MenuMessages(), {
                                                {owner_, WM_ENTERMENULOOP, TRUE, 0},
                                                {owner_, WM_INITMENU, W(menu_), 0},
                                                {owner_, WM_INITMENUPOPUP, W(menu_), 0},
                                                MouseSel(kForward),
                                                MouseSel(kBack),
                                                {owner_, WM_UNINITMENUPOPUP, W(menu_), 0},
                                                Closing(),
                                                {owner_, WM_EXITMENULOOP, TRUE, 0},
                                                {owner_, WM_COMMAND, kBack, 0},
                                            }));
  auto idle = rec_.Only({WM_ENTERIDLE});
  ASSERT_FALSE(idle.empty()) << "the owner hears when its menu waits";
  EXPECT_EQ(idle[0].wParam, static_cast<WPARAM>(MSGF_MENU));
  EXPECT_EQ(idle[0].lParam, reinterpret_cast<LPARAM>(shown));
  EXPECT_EQ(rec_.Count(owner_, WM_LBUTTONDOWN) + rec_.Count(focus_, WM_LBUTTONDOWN), 0)
      << "the menu's mouse input reaches no window";
}

TEST_F(MenuTest, ReturnCmdGivesTheChosenIdAndPostsNoCommand) {
  EXPECT_EQ(Track(TPM_RETURNCMD, 300, 200, {[&] { ClickItem(kPastePos); }}), static_cast<BOOL>(kPaste));
  Pump();
  EXPECT_EQ(rec_.Count(owner_, WM_COMMAND), 0);
}

TEST_F(MenuTest, TheRightButtonChoosesOnlyWithTpmRightButton) {
  BOOL r = Track(TPM_RETURNCMD, 300, 200,
                 {
                     [&] { ClickItem(kForwardPos, pt::Button::Right); },
                     [&] {
                       EXPECT_TRUE(Highlighted(kForwardPos)) << "the press selects";
                       ClickItem(kBackPos);
                     },
                 });
  EXPECT_EQ(r, static_cast<BOOL>(kBack));
  r = Track(TPM_RETURNCMD | TPM_RIGHTBUTTON, 300, 200, {[&] { ClickItem(kForwardPos, pt::Button::Right); }});
  EXPECT_EQ(r, static_cast<BOOL>(kForward));
}

TEST_F(MenuTest, SeparatorsGrayedItemsAndTheEdgeNeitherSelectNorChoose) {
  BOOL r = Track(TPM_RETURNCMD, 300, 200,
                 {
                     [&] { MoveTo(kBackPos); },
                     [&] { ClickItem(kFirstSeparator); },
                     [&] {
                       EXPECT_FALSE(Highlighted(kBackPos)) << "over a separator nothing is selected";
                       ClickItem(kCopyPos);
                     },
                     [&] {
                       EXPECT_FALSE(Highlighted(kCopyPos));
                       RECT w;
                       GetWindowRect(MenuWindow(), &w);
                       pt::Click(w.left + 1, w.top + 1);  // on the 3D edge
                     },
                     [&] {
                       EXPECT_NE(MenuWindow(), nullptr) << "still open";
                       Key(VK_ESCAPE);
                     },
                 });
  EXPECT_EQ(r, 0);
  EXPECT_TRUE(MatchSequence(Selections(), {MouseSel(kBack), Closing()}));
}

TEST_F(MenuTest, APressOutsideClosesTheMenuAndGoesOnToTheWindowUnderIt) {
  HWND other = Child(owner_, 250, 200, 100, 80);  // (350, 300) on screen, clear of the menu
  Pump();
  rec_.Clear();
  BOOL r = Track(TPM_RETURNCMD, 110, 110, {[&] { MoveTo(kBackPos); }, [&] { pt::Click(360, 310); }});
  EXPECT_EQ(r, 0);
  EXPECT_EQ(MenuWindow(), nullptr);
  Pump();
  EXPECT_TRUE(MatchSequence(rec_.Filtered([&](const hwf::test::LoggedMessage& m) {
    return (m.hwnd == owner_ && (m.msg == WM_EXITMENULOOP || m.msg == WM_COMMAND)) ||
           (m.hwnd == other && (m.msg == WM_LBUTTONDOWN || m.msg == WM_LBUTTONUP));
  }),
                            {
                                {owner_, WM_EXITMENULOOP},
                                {other, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10)},
                                {other, WM_LBUTTONUP, 0, MAKELPARAM(10, 10)},
                            }));
}

TEST_F(MenuTest, ArrowsSkipSeparatorsAndGrayedItemsAndWrapAndReturnChooses) {
  BOOL r = Track(TPM_RETURNCMD, 300, 200,
                 {
                     [] { Key(VK_DOWN); },  // the first item
                     [] { Key(VK_DOWN); },
                     [] { Key(VK_DOWN); },  // over the separator and the grayed item
                     [] { Key(VK_DOWN); },  // over the second separator
                     [] { Key(VK_DOWN); },  // round to the top
                     [] { Key(VK_UP); },    // round to the bottom
                     [] { Key(VK_UP); },
                     [] { Key(VK_UP); },
                     [] { Key(VK_END); },
                     [] { Key(VK_HOME); },
                     [] {
                       Key(VK_DOWN);
                       Key(VK_RETURN);
                     },
                 });
  EXPECT_EQ(r, static_cast<BOOL>(kForward));
  EXPECT_TRUE(MatchSequence(Selections(), {KeySel(kBack), KeySel(kForward), KeySel(kPaste), KeySel(kExport),
                                           KeySel(kBack), KeySel(kExport), KeySel(kPaste), KeySel(kForward),
                                           KeySel(kExport), KeySel(kBack), KeySel(kForward), Closing()}));
  EXPECT_EQ(rec_.Count(focus_, WM_KEYDOWN) + rec_.Count(focus_, WM_KEYUP) + rec_.Count(focus_, WM_CHAR), 0)
      << "the keys belong to the menu while it shows";
}

TEST_F(MenuTest, EscapeOrReturnWithNothingSelectedCloseWithoutACommand) {
  EXPECT_EQ(Track(0, 300, 200, {[] { Key(VK_ESCAPE); }}), TRUE);
  EXPECT_EQ(Track(TPM_RETURNCMD, 300, 200, {[] { Key(VK_RETURN); }}), 0);
  EXPECT_EQ(Track(TPM_RETURNCMD, 300, 200, {[] { Key(VK_DOWN); }, [] { Key(VK_ESCAPE); }}), 0);
  Pump();
  EXPECT_EQ(rec_.Count(owner_, WM_COMMAND), 0);
  EXPECT_EQ(rec_.Count(owner_, WM_EXITMENULOOP), 3);
}

TEST_F(MenuTest, AnUnderlinedLetterChoosesItsItemAndOtherLettersAskTheOwner) {
  EXPECT_EQ(Track(TPM_RETURNCMD, 300, 200, {[] { pt::Text("P"); }}), static_cast<BOOL>(kPaste))
      << "either case";
  rec_.Clear();
  // 'c' belongs to the grayed item: the owner is asked and says nothing;
  // 'z' belongs to no item: the owner has the paste item chosen.
  rec_.SetHandler([&](HWND h, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (h == owner_ && msg == WM_MENUCHAR && LOWORD(wParam) == 'z')
      return MAKELRESULT(kPastePos, MNC_EXECUTE);
    return std::nullopt;
  });
  BOOL r = Track(TPM_RETURNCMD, 300, 200, {[] { pt::Text("c"); }, [] { pt::Text("z"); }});
  EXPECT_EQ(r, static_cast<BOOL>(kPaste));
  EXPECT_TRUE(
      MatchSequence(rec_.Only({WM_MENUCHAR}), {
                                                  {owner_, WM_MENUCHAR, MAKEWPARAM('c', MF_POPUP), L(menu_)},
                                                  {owner_, WM_MENUCHAR, MAKEWPARAM('z', MF_POPUP), L(menu_)},
                                              }));
}

TEST_F(MenuTest, ALetterSharedByItemsStepsThroughThem) {
  HMENU m = CreatePopupMenu();
  AppendMenuA(m, MF_STRING, 1, "&Apple");
  AppendMenuA(m, MF_STRING, 2, "&Banana");
  AppendMenuA(m, MF_STRING, 3, "&Avocado");
  AppendMenuA(m, MF_STRING, 4, "Fish && &Chips");  // "&&" is a plain ampersand
  BOOL r =
      Track(TPM_RETURNCMD, 300, 200,
            {[] { pt::Text("a"); }, [] { pt::Text("a"); }, [] { pt::Text("a"); }, [] { Key(VK_RETURN); }}, m);
  EXPECT_EQ(r, 1) << "first, third, round to the first again";
  EXPECT_EQ(Track(TPM_RETURNCMD, 300, 200, {[] { pt::Text("c"); }}, m), 4);
  EXPECT_TRUE(DestroyMenu(m));
}

TEST_F(MenuTest, TheOwnerGraysItemsInInitMenuPopupBeforeTheMenuIsMeasuredAndShown) {
  bool shownYet = true;
  rec_.SetHandler([&](HWND h, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (h == owner_ && msg == WM_INITMENUPOPUP) {
      shownYet = MenuWindow() != nullptr;
      EXPECT_EQ(EnableMenuItem(reinterpret_cast<HMENU>(wParam), kBack, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
    }
    return std::nullopt;
  });
  HMENU shown = nullptr;
  BOOL r = Track(TPM_RETURNCMD, 300, 200, {[&] {
                   // The menu window tells which menu it shows.
                   shown = reinterpret_cast<HMENU>(SendMessageA(MenuWindow(), MN_GETHMENU, 0, 0));
                   Key(VK_DOWN);
                   Key(VK_RETURN);
                 }});
  EXPECT_EQ(shown, menu_);
  EXPECT_FALSE(shownYet);
  EXPECT_EQ(r, static_cast<BOOL>(kForward)) << "the grayed first item was passed over";
  EXPECT_EQ(GetMenuState(menu_, kBack, MF_BYCOMMAND), static_cast<UINT>(MF_GRAYED));
}

TEST_F(MenuTest, TheMenuStaysOnScreenOnTheOtherSideOfThePointOrPushedIn) {
  auto placed = [&](HMENU m, UINT flags, int x, int y) {
    RECT r{};
    Track(flags, x, y, {[&] {
            GetWindowRect(MenuWindow(), &r);
            Key(VK_ESCAPE);
          }},
          m);
    return r;
  };
  const RECT at = placed(menu_, 0, 0, 0);
  const int w = at.right - at.left, h = at.bottom - at.top;
  ASSERT_GT(w, 40);
  ASSERT_GT(h, 40);
  struct Case {
    UINT flags;
    int x, y, left, top;
  };
  const Case cases[] = {
      {0, 300, 200, 300, 200},
      {0, 1270, 1015, 1270 - w, 1015 - h},  // flipped left and up at the bottom-right corner
      {0, 1270, 5, 1270 - w, 5},
      {TPM_RIGHTALIGN | TPM_BOTTOMALIGN, 600, 500, 600 - w, 500 - h},
      {TPM_RIGHTALIGN | TPM_BOTTOMALIGN, 5, 5, 5, 5},  // flipped right and down at the top-left corner
      {TPM_CENTERALIGN | TPM_VCENTERALIGN, 640, 512, 640 - w / 2, 512 - h / 2},
      {TPM_CENTERALIGN, 2, 300, 0, 300},  // pushed in from the left edge
  };
  for (const Case& c : cases) {
    RECT r = placed(menu_, c.flags, c.x, c.y);
    EXPECT_EQ(r.left, c.left) << "at " << c.x << "," << c.y << " flags " << c.flags;
    EXPECT_EQ(r.top, c.top) << "at " << c.x << "," << c.y << " flags " << c.flags;
  }
  // Taller than the room above and below the point: pushed up from the bottom.
  HMENU tall = CreatePopupMenu();
  for (int i = 0; i < 40; ++i) AppendMenuA(tall, MF_STRING, 1000 + i, "项目");
  RECT r = placed(tall, 0, 300, 500);
  EXPECT_GT(r.bottom - r.top, 524);
  EXPECT_EQ(r.bottom, 1024);
  EXPECT_EQ(r.left, 300);
  DestroyMenu(tall);
}

TEST_F(MenuTest, BadHandlesFailCleanlyAndNothingIsLeft) {
  const std::size_t menus = pt::LiveObjects(HandleKind::Menu), fonts = pt::LiveObjects(HandleKind::Font),
                    dcs = pt::LiveObjects(HandleKind::DC), windows = pt::LiveObjects(HandleKind::Window);
  HMENU m = CreatePopupMenu();
  EXPECT_EQ(pt::LiveObjects(HandleKind::Menu), menus + 1);
  EXPECT_TRUE(AppendMenuA(m, MF_STRING, 7, "一"));
  EXPECT_FALSE(AppendMenuA(m, MF_POPUP, reinterpret_cast<UINT_PTR>(menu_), "sub")) << "no submenus";
  EXPECT_FALSE(AppendMenuA(m, MF_OWNERDRAW, 8, nullptr));
  EXPECT_EQ(GetMenuItemCount(m), 1);
  EXPECT_EQ(Track(TPM_RETURNCMD, 300, 200, {[] {
                    Key(VK_DOWN);
                    Key(VK_RETURN);
                  }},
                  m),
            7);
  EXPECT_EQ(pt::LiveObjects(HandleKind::Font), fonts) << "the menu font went with the menu";
  EXPECT_EQ(pt::LiveObjects(HandleKind::DC), dcs);
  EXPECT_EQ(pt::LiveObjects(HandleKind::Window), windows);

  EXPECT_TRUE(DestroyMenu(m));
  EXPECT_EQ(pt::LiveObjects(HandleKind::Menu), menus);
  rec_.Clear();
  EXPECT_FALSE(IsMenu(m));
  EXPECT_FALSE(DestroyMenu(m));
  EXPECT_FALSE(AppendMenuA(m, MF_STRING, 1, "x"));
  EXPECT_EQ(GetMenuItemCount(m), -1);
  EXPECT_EQ(GetMenuState(m, 0, MF_BYPOSITION), static_cast<UINT>(-1));
  EXPECT_EQ(EnableMenuItem(m, 7, MF_GRAYED), -1);
  EXPECT_FALSE(TrackPopupMenu(m, TPM_RETURNCMD, 0, 0, 0, owner_, nullptr));
  EXPECT_EQ(rec_.Count(owner_, WM_ENTERMENULOOP), 0) << "nothing starts for a stale menu";
  // Handles of the wrong kind.
  EXPECT_FALSE(IsMenu(reinterpret_cast<HMENU>(owner_)));
  EXPECT_FALSE(DestroyMenu(reinterpret_cast<HMENU>(owner_)));
  EXPECT_TRUE(IsWindow(owner_));
  EXPECT_FALSE(TrackPopupMenu(menu_, 0, 0, 0, 0, reinterpret_cast<HWND>(menu_), nullptr));
  EXPECT_TRUE(IsMenu(menu_));
}

TEST_F(MenuTest, ItemStatesByCommandAndByPosition) {
  EXPECT_EQ(GetMenuItemCount(menu_), 7);
  EXPECT_EQ(GetMenuItemID(menu_, kCopyPos), kCopy);
  EXPECT_EQ(GetMenuItemID(menu_, 7), static_cast<UINT>(-1));
  EXPECT_EQ(GetMenuState(menu_, kCopy, MF_BYCOMMAND), static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(GetMenuState(menu_, kFirstSeparator, MF_BYPOSITION), static_cast<UINT>(MF_SEPARATOR));
  EXPECT_EQ(GetMenuState(menu_, 999, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_EQ(EnableMenuItem(menu_, kCopy, MF_BYCOMMAND | MF_ENABLED), MF_GRAYED) << "the previous state";
  EXPECT_EQ(EnableMenuItem(menu_, kPastePos, MF_BYPOSITION | MF_DISABLED), MF_ENABLED);
  EXPECT_EQ(EnableMenuItem(menu_, 999, MF_GRAYED), -1);
  // A disabled (not grayed) item cannot be chosen either; the enabled copy item now can.
  EXPECT_EQ(Track(TPM_RETURNCMD, 300, 200, {[] { pt::Text("p"); }, [] { pt::Text("c"); }}),
            static_cast<BOOL>(kCopy));
  char buf[64];
  EXPECT_EQ(GetMenuStringA(menu_, kPaste, buf, sizeof buf, MF_BYCOMMAND), 17);
  EXPECT_STREQ(buf, "粘贴(&P)\tCtrl+V");
  EXPECT_EQ(GetMenuStringA(menu_, kPaste, buf, 5, MF_BYCOMMAND), 3) << "never half a character";
  EXPECT_STREQ(buf, "粘");
  EXPECT_EQ(GetMenuStringA(menu_, kPaste, nullptr, 0, MF_BYCOMMAND), 17);
}

TEST_F(MenuTest, TheLoopEndsWhenTheMenuGoesAndOnlyOneMenuRunsAtATime) {
  // The owner's timer keeps ticking while the menu shows; its handler tries a
  // second menu, then destroys the one on screen.
  BOOL nested = TRUE;
  HMENU second = CreatePopupMenu();
  AppendMenuA(second, MF_STRING, 1, "二");
  rec_.SetHandler([&](HWND h, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (h == owner_ && msg == WM_TIMER) {
      KillTimer(owner_, 7);
      nested = TrackPopupMenu(second, TPM_RETURNCMD, 0, 0, 0, owner_, nullptr);
      DestroyMenu(menu_);
    }
    return std::nullopt;
  });
  SetTimer(owner_, 7, 500, nullptr);
  EXPECT_EQ(TrackPopupMenu(menu_, TPM_RETURNCMD, 300, 200, 0, owner_, nullptr), 0);
  menu_ = nullptr;
  EXPECT_FALSE(nested);
  EXPECT_EQ(MenuWindow(), nullptr);
  EXPECT_EQ(rec_.Count(owner_, WM_EXITMENULOOP), 1);

  // EndMenu closes as a cancel; a quit ends the menu and stays for the outer loop.
  rec_.SetHandler([&](HWND h, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (h == owner_ && msg == WM_USER) {
      EXPECT_TRUE(EndMenu());
    }
    if (h == owner_ && msg == WM_USER + 1) PostQuitMessage(3);
    return std::nullopt;
  });
  PostMessageA(owner_, WM_USER, 0, 0);
  EXPECT_EQ(TrackPopupMenu(second, TPM_RETURNCMD, 300, 200, 0, owner_, nullptr), 0);
  EXPECT_FALSE(EndMenu()) << "no menu left to end";
  PostMessageA(owner_, WM_USER + 1, 0, 0);
  EXPECT_EQ(TrackPopupMenu(second, TPM_RETURNCMD, 300, 200, 0, owner_, nullptr), 0);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(m.wParam, 3u);

  // The owner destroyed while its menu shows.
  rec_.SetHandler(nullptr);
  PostMessageA(owner_, WM_CLOSE, 0, 0);
  EXPECT_EQ(TrackPopupMenu(second, TPM_RETURNCMD, 300, 200, 0, owner_, nullptr), 0);
  EXPECT_FALSE(IsWindow(owner_));
  EXPECT_EQ(MenuWindow(), nullptr);
  DestroyMenu(second);
}

}  // namespace
