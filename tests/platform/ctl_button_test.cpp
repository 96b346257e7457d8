// "Button" and "Static": clicks by mouse and keyboard, check and radio
// rules, owner drawing, and the looks that matter (grey when disabled,
// focus rectangle, colours from the parent).
#include "ctl_fixture.h"

namespace {

using hwf::test::ControlTest;
using hwf::test::MatchSequence;
namespace pt = platform::testing;

class ButtonTest : public ControlTest {
 protected:
  HWND Button(const char* text, DWORD style, int x, int y, int id, int w = 80, int h = 24) {
    return Make("Button", text, style, x, y, w, h, id);
  }
};

TEST_F(ButtonTest, MouseClickCapturesBetweenPressAndReleaseAndEndsInBnClicked) {
  HWND b = Button("OK", BS_PUSHBUTTON, 10, 10, 42);
  rec_.Subclass(b, "btn");
  Pump();
  rec_.Clear();
  POINT p = Screen(b, 20, 12);
  pt::MouseDown(p.x, p.y);
  Pump();
  EXPECT_EQ(GetCapture(), b);
  EXPECT_TRUE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
  EXPECT_EQ(GetFocus(), b);
  pt::MouseUp(p.x, p.y);
  Pump();
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_FALSE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
  EXPECT_TRUE(
      MatchSequence(rec_.Only({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_CAPTURECHANGED, WM_COMMAND}),
                    {
                        {b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 12)},
                        {b, WM_LBUTTONUP, 0, MAKELPARAM(20, 12)},
                        {b, WM_CAPTURECHANGED},
                        {parent_, WM_COMMAND, MAKEWPARAM(42, BN_CLICKED), reinterpret_cast<LPARAM>(b)},
                    }));
}

TEST_F(ButtonTest, ReleasingOutsideCancelsAndComingBackInsideStillClicks) {
  HWND b = Button("OK", BS_PUSHBUTTON, 10, 10, 7);
  Pump();
  POINT in = Screen(b, 5, 5), out = Screen(b, 200, 5);
  pt::MouseDown(in.x, in.y);
  Pump();
  pt::MouseMove(out.x, out.y);
  Pump();
  EXPECT_FALSE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED) << "pushed look follows the pointer";
  pt::MouseUp(out.x, out.y);
  Pump();
  EXPECT_TRUE(Commands().empty());

  pt::MouseDown(in.x, in.y);
  Pump();
  pt::MouseMove(out.x, out.y);
  Pump();
  pt::MouseMove(in.x, in.y);
  Pump();
  EXPECT_TRUE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
  pt::MouseUp(in.x, in.y);
  Pump();
  EXPECT_EQ(Commands(), (std::vector<std::pair<int, int>>{{7, BN_CLICKED}}));
}

TEST_F(ButtonTest, SpaceDownAndUpClicksTheFocusedButton) {
  HWND b = Button("OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 10, 10, 9);
  rec_.Subclass(b, "btn");
  SetFocus(b);
  Pump();
  rec_.Clear();
  pt::KeyDown(VK_SPACE);
  Pump();
  EXPECT_TRUE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
  EXPECT_TRUE(Commands().empty()) << "the click happens on release";
  pt::KeyUp(VK_SPACE);
  Pump();
  EXPECT_TRUE(MatchSequence(rec_.Only({WM_KEYDOWN, WM_KEYUP, WM_COMMAND}),
                            {
                                {b, WM_KEYDOWN, VK_SPACE},
                                {b, WM_KEYUP, VK_SPACE},
                                {parent_, WM_COMMAND, MAKEWPARAM(9, BN_CLICKED), reinterpret_cast<LPARAM>(b)},
                            }));
  // Losing the focus between down and up drops the press.
  pt::KeyDown(VK_SPACE);
  Pump();
  SetFocus(parent_);
  pt::KeyUp(VK_SPACE);
  Pump();
  EXPECT_EQ(Commands().size(), 1u);
}

TEST_F(ButtonTest, CheckBoxesFollowTheirKindsRules) {
  HWND manual = Button("m", BS_CHECKBOX, 10, 10, 1);
  HWND autoBox = Button("a", BS_AUTOCHECKBOX, 10, 40, 2);
  HWND tri = Button("t", BS_AUTO3STATE, 10, 70, 3);
  HWND push = Button("p", BS_PUSHBUTTON, 10, 100, 4);
  Pump();
  ClickAt(manual, 3, 3);
  ClickAt(autoBox, 3, 3);
  Pump();
  EXPECT_EQ(SendMessageA(manual, BM_GETCHECK, 0, 0), BST_UNCHECKED)
      << "a plain check box waits for its owner";
  EXPECT_EQ(SendMessageA(autoBox, BM_GETCHECK, 0, 0), BST_CHECKED);
  ClickAt(autoBox, 3, 3);
  Pump();
  EXPECT_EQ(SendMessageA(autoBox, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  LRESULT cycle[3];
  for (auto& c : cycle) {
    ClickAt(tri, 3, 3);
    Pump();
    c = SendMessageA(tri, BM_GETCHECK, 0, 0);
  }
  EXPECT_EQ(cycle[0], BST_CHECKED);
  EXPECT_EQ(cycle[1], BST_INDETERMINATE);
  EXPECT_EQ(cycle[2], BST_UNCHECKED);
  EXPECT_EQ(Commands().size(), 6u) << "every click is reported, whatever the kind";

  SendMessageA(manual, BM_SETCHECK, BST_INDETERMINATE, 0);
  EXPECT_EQ(SendMessageA(manual, BM_GETCHECK, 0, 0), BST_CHECKED) << "two-state box has no third state";
  SendMessageA(push, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(SendMessageA(push, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SendMessageA(tri, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(SendMessageA(tri, BM_GETSTATE, 0, 0), BST_PUSHED | BST_FOCUS) << "the last one clicked has focus";
}

TEST_F(ButtonTest, AutoRadioButtonUnchecksTheOthersOfItsGroupOnly) {
  HWND r1 = Button("1", BS_AUTORADIOBUTTON | WS_GROUP, 10, 10, 1);
  HWND r2 = Button("2", BS_AUTORADIOBUTTON, 10, 40, 2);
  HWND label = Make("Static", "x", 0, 200, 10, 40, 20, 5);
  HWND r3 = Button("3", BS_AUTORADIOBUTTON, 10, 70, 3);
  HWND r4 = Button("4", BS_AUTORADIOBUTTON | WS_GROUP, 10, 100, 4);
  HWND r5 = Button("5", BS_AUTORADIOBUTTON, 10, 130, 6);
  (void)label;
  SendMessageA(r3, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(r4, BM_SETCHECK, BST_CHECKED, 0);
  Pump();
  ClickAt(r2, 3, 3);
  Pump();
  EXPECT_EQ(SendMessageA(r2, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(r3, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "same group across a label";
  EXPECT_EQ(SendMessageA(r4, BM_GETCHECK, 0, 0), BST_CHECKED) << "the next group starts at WS_GROUP";
  ClickAt(r1, 3, 3);
  Pump();
  EXPECT_EQ(SendMessageA(r1, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(r2, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  ClickAt(r5, 3, 3);
  Pump();
  EXPECT_EQ(SendMessageA(r4, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageA(r1, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(r1, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_RADIOBUTTON);
}

TEST_F(ButtonTest, SetStyleToOwnerDrawHandsPaintingToTheParent) {
  HWND b = Button("OK", BS_PUSHBUTTON, 10, 10, 5, 60, 20);
  Pump();
  const COLORREF face = GetSysColor(COLOR_3DFACE), red = RGB(255, 0, 0);
  EXPECT_GT(CountColour(b, ClientOf(b), face), 0) << "a push button paints its own face";
  bool paintByParent = true;
  DRAWITEMSTRUCT seen{};
  rec_.SetHandler([&](HWND h, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
    if (h != parent_ || m != WM_DRAWITEM) return std::nullopt;
    seen = *reinterpret_cast<DRAWITEMSTRUCT*>(l);
    if (paintByParent) {
      HBRUSH br = CreateSolidBrush(red);
      FillRect(seen.hDC, &seen.rcItem, br);
      DeleteObject(br);
    }
    return TRUE;
  });
  rec_.Clear();
  SendMessageA(b, BM_SETSTYLE, BS_OWNERDRAW, -1);
  Pump();
  EXPECT_EQ(GetWindowLongA(b, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  EXPECT_TRUE(MatchSequence(rec_.Only({WM_DRAWITEM}), {{parent_, WM_DRAWITEM, 5}}));
  EXPECT_EQ(seen.CtlType, static_cast<UINT>(ODT_BUTTON));
  EXPECT_EQ(seen.CtlID, 5u);
  EXPECT_EQ(seen.hwndItem, b);
  EXPECT_EQ(seen.rcItem.right, 60);
  EXPECT_EQ(seen.rcItem.bottom, 20);
  EXPECT_EQ(CountColour(b, ClientOf(b), red), 60 * 20);

  // Pressed: the parent hears of it through itemState, and the button
  // itself still draws nothing over what the parent left.
  paintByParent = false;
  SendMessageA(b, BM_SETSTATE, TRUE, 0);
  Pump();
  EXPECT_TRUE(seen.itemState & ODS_SELECTED);
  EXPECT_EQ(CountColour(b, ClientOf(b), red), 60 * 20);
}

TEST_F(ButtonTest, DisabledCaptionIsGreyAndEnabledIsBlack) {
  HWND b = Button("WWWW", BS_PUSHBUTTON, 10, 10, 1, 80, 24);
  Pump();
  RECT inner{4, 4, 76, 20};
  EXPECT_GT(CountPixels(b, inner, Dark), 10);
  EnableWindow(b, FALSE);
  Pump();
  EXPECT_EQ(CountPixels(b, inner, Dark), 0);
  EXPECT_GT(CountPixels(b, inner, Greyish), 10);
  HWND c = Button("WWWW", BS_AUTOCHECKBOX | WS_DISABLED, 10, 50, 2, 100, 20);
  Pump();
  RECT caption{17, 0, 100, 20};
  EXPECT_EQ(CountPixels(c, caption, Dark), 0);
  EXPECT_GT(CountPixels(c, caption, Greyish), 10) << "check box captions go grey too";
  ClickAt(c, 3, 3);
  Pump();
  EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "no input while disabled";
}

TEST_F(ButtonTest, FocusedButtonShowsAFocusRectangle) {
  HWND b = Button("", BS_PUSHBUTTON, 10, 10, 1, 80, 30);
  HWND other = Button("", BS_PUSHBUTTON, 10, 50, 2, 80, 30);
  SetFocus(other);
  Pump();
  const COLORREF face = GetSysColor(COLOR_3DFACE);
  auto notFace = [&](COLORREF c) { return c != face; };
  RECT ring{4, 4, 76, 5};  // top line of the rectangle, inside the 3D frame
  EXPECT_EQ(CountPixels(b, ring, notFace), 0);
  SetFocus(b);
  Pump();
  int dots = CountPixels(b, ring, notFace);
  EXPECT_GT(dots, 20) << "dotted line drawn";
  EXPECT_LT(dots, 72) << "dotted, not solid";
  EXPECT_TRUE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_FOCUS);
}

TEST_F(ButtonTest, FontsDefaultToTheGuiFontUntilSet) {
  HWND b = Button("x", BS_PUSHBUTTON, 10, 10, 1);
  HWND s = Make("Static", "x", SS_LEFT, 10, 40, 50, 20, 2);
  HGDIOBJ gui = GetStockObject(DEFAULT_GUI_FONT);
  EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(b, WM_GETFONT, 0, 0)), gui);
  EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(s, WM_GETFONT, 0, 0)), gui);
  HFONT f = CreateFontA(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "宋体");
  SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(b, WM_GETFONT, 0, 0)), f);
  DestroyWindow(b);
  DeleteObject(f);
}

TEST_F(ButtonTest, StaticTakesItsColoursFromTheParentAndAligns) {
  const COLORREF bg = RGB(0, 0, 255), fg = RGB(255, 255, 0);
  HBRUSH brush = CreateSolidBrush(bg);
  HWND ctl = nullptr;
  rec_.SetHandler([&](HWND h, UINT m, WPARAM w, LPARAM l) -> std::optional<LRESULT> {
    if (h != parent_ || m != WM_CTLCOLORSTATIC) return std::nullopt;
    ctl = reinterpret_cast<HWND>(l);
    SetTextColor(reinterpret_cast<HDC>(w), fg);
    return reinterpret_cast<LRESULT>(brush);
  });
  HWND left = Make("Static", "MMM", SS_LEFT, 10, 10, 200, 20, 1);
  HWND right = Make("Static", "MMM", SS_RIGHT, 10, 40, 200, 20, 2);
  Pump();
  EXPECT_EQ(ctl, right);
  auto yellowish = [](COLORREF c) { return GetRValue(c) > 128 && GetGValue(c) > 128 && GetBValue(c) < 128; };
  auto yellowIn = [&](HWND w, int x0, int x1) { return CountPixels(w, RECT{x0, 0, x1, 20}, yellowish); };
  EXPECT_GT(yellowIn(left, 0, 60), 10);
  EXPECT_EQ(yellowIn(left, 140, 200), 0);
  EXPECT_EQ(yellowIn(right, 0, 60), 0);
  EXPECT_GT(yellowIn(right, 140, 200), 10);
  EXPECT_GT(CountColour(left, RECT{100, 0, 200, 20}, bg), 1900) << "background from the parent's brush";
  DestroyWindow(left);
  DestroyWindow(right);
  DeleteObject(brush);
}

TEST_F(ButtonTest, StaticPrefixesFollowSsNoPrefix) {
  // "&&" shows one ampersand unless prefixes are off, where it shows two:
  // the wider rendering has more ink.
  HWND a = Make("Static", "&&&&&&", SS_LEFT, 10, 10, 200, 20, 1);
  HWND b = Make("Static", "&&&&&&", SS_LEFT | SS_NOPREFIX, 10, 40, 200, 20, 2);
  Pump();
  int inkA = CountPixels(a, ClientOf(a), Dark), inkB = CountPixels(b, ClientOf(b), Dark);
  EXPECT_GT(inkA, 10);
  EXPECT_LT(inkA * 3, inkB * 2);
}

}  // namespace
