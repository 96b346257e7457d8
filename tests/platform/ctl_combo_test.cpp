// "ComboBox": the drop-down list opening under the field and colouring
// itself through the combo box, choosing by mouse and keyboard, closing by
// a click outside, typing into the edit field, and the list messages.
#include "ctl_fixture.h"

namespace {

using hwf::test::ControlTest;
using hwf::test::MatchSequence;
namespace pt = platform::testing;
using Cmds = std::vector<std::pair<int, int>>;

class ComboTest : public ControlTest {
 protected:
  HWND Combo(DWORD kind = CBS_DROPDOWN, const char* text = "80") {
    HWND c = Make("ComboBox", text, kind | WS_VSCROLL | WS_TABSTOP, 10, 10, 69, 22, 5);
    for (const char* item : {"8", "16", "24", "32", "64", "80", "100", "120", "180", "360"})
      SendMessageA(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    Pump();
    rec_.Clear();
    return c;
  }
  static HWND ListOf(HWND combo) {
    RECT r{};
    SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
    return WindowFromPoint(POINT{r.left + 4, r.top + 4});
  }
  static std::string Text(HWND w) {
    char buf[256] = {};
    GetWindowTextA(w, buf, sizeof buf);
    return buf;
  }
  static bool Dropped(HWND c) { return SendMessageA(c, CB_GETDROPPEDSTATE, 0, 0) != 0; }
  void ClickButton(HWND c) {
    ClickAt(c, 60, 11);
    Pump();
  }
};

TEST_F(ComboTest, TheButtonDropsAListThatColoursItselfThroughTheComboBox) {
  HWND c = Combo();
  rec_.Subclass(c, "combo");
  ClickButton(c);
  ASSERT_TRUE(Dropped(c));
  HWND list = ListOf(c);
  char cls[32] = {};
  GetClassNameA(list, cls, sizeof cls);
  EXPECT_STREQ(cls, "ComboLBox");
  EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & WS_POPUP);
  EXPECT_TRUE(IsWindowVisible(list));
  RECT cr, lr;
  GetWindowRect(c, &cr);
  GetWindowRect(list, &lr);
  EXPECT_EQ(lr.left, cr.left);
  EXPECT_EQ(lr.top, cr.bottom) << "right under the field, in screen coordinates";
  EXPECT_EQ(lr.right - lr.left, 69);
  EXPECT_EQ(cr.bottom - cr.top, 22) << "the window keeps its closed height";
  EXPECT_EQ(GetCapture(), c) << "capture on the combo box while dropped";
  EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), 5) << "opens on the item the text names";
  auto seq = rec_.Filtered([&](const hwf::test::LoggedMessage& m) {
    return (m.hwnd == parent_ && m.msg == WM_COMMAND) || (m.hwnd == c && m.msg == WM_CTLCOLORLISTBOX);
  });
  ASSERT_GE(seq.size(), 2u);
  EXPECT_TRUE(
      MatchSequence(std::vector<hwf::test::LoggedMessage>(seq.begin(), seq.begin() + 2),
                    {
                        {parent_, WM_COMMAND, MAKEWPARAM(5, CBN_DROPDOWN), reinterpret_cast<LPARAM>(c)},
                        {c, WM_CTLCOLORLISTBOX, std::nullopt, reinterpret_cast<LPARAM>(list)},
                    }));
  // Every paint of the list asks again.
  int before = rec_.Count(c, WM_CTLCOLORLISTBOX);
  InvalidateRect(list, nullptr, TRUE);
  Pump();
  EXPECT_EQ(rec_.Count(c, WM_CTLCOLORLISTBOX), before + 1);
  EXPECT_GE(rec_.Count(parent_, WM_CTLCOLORLISTBOX), 1) << "and the combo box hands the question on";
}

TEST_F(ComboTest, ClickingAnItemPutsItsTextInTheFieldAndReportsTheChange) {
  HWND c = Combo();
  ClickButton(c);
  HWND list = ListOf(c);
  int h = static_cast<int>(SendMessageA(c, CB_GETITEMHEIGHT, 0, 0));
  SendMessageA(list, LB_SETTOPINDEX, 0, 0);
  POINT p = Screen(list, 10, 2 * h + h / 2);
  pt::MouseMove(p.x, p.y);
  pt::MouseDown(p.x, p.y);
  pt::MouseUp(p.x, p.y);
  Pump();
  EXPECT_FALSE(Dropped(c));
  EXPECT_FALSE(IsWindowVisible(list));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Text(c), "24");
  EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Commands(), (Cmds{{5, CBN_DROPDOWN}, {5, CBN_SELCHANGE}, {5, CBN_SELENDOK}, {5, CBN_CLOSEUP}}))
      << "no CBN_EDITCHANGE for text the combo box put there itself";
}

TEST_F(ComboTest, KeyboardOpensMovesChoosesAndCancels) {
  HWND c = Combo();
  HWND edit = GetDlgItem(c, 1001);
  ASSERT_NE(edit, nullptr);
  SetFocus(c);
  Pump();
  EXPECT_EQ(GetFocus(), edit) << "the field's edit takes the focus";
  Key(VK_F4);
  Pump();
  ASSERT_TRUE(Dropped(c));
  Key(VK_DOWN);
  Key(VK_DOWN);
  Pump();
  EXPECT_EQ(Text(c), "120");
  Key(VK_RETURN);
  Pump();
  EXPECT_FALSE(Dropped(c));
  EXPECT_EQ(Text(c), "120");
  EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), 7);

  pt::KeyDown(VK_MENU);
  Key(VK_DOWN);
  pt::KeyUp(VK_MENU);
  Pump();
  ASSERT_TRUE(Dropped(c)) << "Alt+Down opens too";
  Key(VK_UP);
  Pump();
  EXPECT_EQ(Text(c), "100");
  Key(VK_ESCAPE);
  Pump();
  EXPECT_FALSE(Dropped(c));
  EXPECT_EQ(Text(c), "120") << "Esc goes back to the choice before the list opened";
  EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), 7);
  Key(VK_DOWN);
  Pump();
  EXPECT_EQ(Text(c), "180") << "arrows step through the items with the list closed";
}

TEST_F(ComboTest, AClickOutsideClosesWithoutChoosing) {
  HWND c = Combo();
  ClickButton(c);
  ASSERT_TRUE(Dropped(c));
  rec_.Clear();
  ClickAt(parent_, 300, 250);
  Pump();
  EXPECT_FALSE(Dropped(c));
  EXPECT_EQ(Text(c), "80");
  EXPECT_EQ(Commands(), (Cmds{{5, CBN_SELENDCANCEL}, {5, CBN_CLOSEUP}}));
  EXPECT_EQ(rec_.Count(parent_, WM_LBUTTONDOWN), 0) << "the closing click is not passed on";
  ClickButton(c);
  ClickButton(c);
  EXPECT_FALSE(Dropped(c)) << "the button closes what it opened";
}

TEST_F(ComboTest, ACloseRequestOnTheOpenListClosesItAndKeepsIt) {
  HWND c = Combo();
  ClickButton(c);
  ASSERT_TRUE(Dropped(c));
  HWND list = ListOf(c);
  pt::RequestClose(list);
  Pump();
  EXPECT_TRUE(IsWindow(list)) << "the list belongs to its combo box";
  EXPECT_FALSE(Dropped(c));
  EXPECT_EQ(Text(c), "80");
  ClickButton(c);
  EXPECT_TRUE(Dropped(c)) << "and opens again";
  EXPECT_EQ(ListOf(c), list);
}

TEST_F(ComboTest, TypingIntoTheFieldWithEndAndBackspace) {
  HWND c = Combo();
  ClickAt(c, 5, 11);  // the text part: caret there, no list
  Pump();
  EXPECT_FALSE(Dropped(c));
  EXPECT_EQ(GetFocus(), GetDlgItem(c, 1001));
  Key(VK_END);
  Pump();
  pt::Text("中文");
  Pump();
  EXPECT_EQ(Text(c), "80中文");
  Key(VK_BACK);
  Pump();
  EXPECT_EQ(Text(c), "80中");
  EXPECT_EQ(GetWindowTextLengthA(c), 5);
  EXPECT_EQ(Commands(), (Cmds{{5, CBN_EDITUPDATE},
                              {5, CBN_EDITCHANGE},
                              {5, CBN_EDITUPDATE},
                              {5, CBN_EDITCHANGE},
                              {5, CBN_EDITUPDATE},
                              {5, CBN_EDITCHANGE}}));
}

TEST_F(ComboTest, ListMessagesAndTheListOnlyKind) {
  HWND c = Combo();
  EXPECT_EQ(SendMessageA(c, CB_GETCOUNT, 0, 0), 10);
  EXPECT_EQ(SendMessageA(c, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("1")), 1);
  EXPECT_EQ(Text(c), "16");
  EXPECT_EQ(SendMessageA(c, CB_SELECTSTRING, 1, reinterpret_cast<LPARAM>("1")), 6) << "searching after start";
  EXPECT_EQ(SendMessageA(c, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("32")), 3);
  EXPECT_EQ(SendMessageA(c, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("3")),
            CB_ERR);
  EXPECT_EQ(SendMessageA(c, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("零")), 0);
  EXPECT_EQ(SendMessageA(c, CB_GETLBTEXTLEN, 0, 0), 3);
  char buf[16] = {};
  SendMessageA(c, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(buf));
  EXPECT_STREQ(buf, "零");
  EXPECT_EQ(SendMessageA(c, CB_GETLBTEXT, 99, reinterpret_cast<LPARAM>(buf)), CB_ERR);
  SendMessageA(c, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  EXPECT_EQ(Text(c), "");
  SendMessageA(c, CB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessageA(c, CB_GETCOUNT, 0, 0), 0);

  HWND l = Make("ComboBox", "", CBS_DROPDOWNLIST, 10, 60, 100, 22, 6);
  for (const char* item : {"所有文件 (*.*)", "位图 (*.bmp)"})
    SendMessageA(l, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  EXPECT_EQ(GetDlgItem(l, 1001), nullptr) << "no edit field";
  SendMessageA(l, CB_SETCURSEL, 1, 0);
  EXPECT_EQ(Text(l), "位图 (*.bmp)");
  ClickAt(l, 20, 11);
  Pump();
  EXPECT_TRUE(Dropped(l)) << "a click anywhere on a list-only field opens it";
  EXPECT_EQ(SendMessageA(l, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)));
}

TEST_F(ComboTest, TheSimpleKindShowsItsListAlwaysAndTakesClicksInIt) {
  HWND c = Make("ComboBox", "", CBS_SIMPLE, 10, 10, 100, 120, 9);
  for (const char* item : {"甲", "乙", "丙"})
    SendMessageA(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  Pump();
  rec_.Clear();
  HWND edit = GetDlgItem(c, 1001);
  ASSERT_NE(edit, nullptr);
  RECT er, cr;
  GetWindowRect(edit, &er);
  GetWindowRect(c, &cr);
  EXPECT_EQ(cr.bottom - cr.top, 120) << "the simple kind keeps its full height";
  POINT below{er.left + 5, er.bottom + 8};
  HWND list = WindowFromPoint(below);
  char cls[32] = {};
  GetClassNameA(list, cls, sizeof cls);
  ASSERT_STREQ(cls, "ComboLBox");
  EXPECT_EQ(GetParent(list), c) << "a child, not a popup";
  int h = static_cast<int>(SendMessageA(c, CB_GETITEMHEIGHT, 0, 0));
  POINT hover = Screen(list, 5, 2 * h + h / 2);
  pt::MouseMove(hover.x, hover.y);
  Pump();
  EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), CB_ERR) << "passing over an item chooses nothing";
  ClickAt(list, 5, h + h / 2);
  Pump();
  EXPECT_EQ(Text(c), "乙");
  EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Commands(), (Cmds{{9, CBN_SELCHANGE}}));
  EXPECT_FALSE(Dropped(c));
}

TEST_F(ComboTest, DestroyingTheComboBoxTakesItsListAlong) {
  HWND c = Combo();
  ClickButton(c);
  HWND list = ListOf(c);
  ASSERT_TRUE(IsWindow(list));
  DestroyWindow(c);
  EXPECT_FALSE(IsWindow(list));
  EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
