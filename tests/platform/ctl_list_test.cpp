// "ListBox" and "SysHeader32": selection by mouse and keyboard with its
// notifications, scrolling by wheel, keys and the scroll bar, item
// bookkeeping, tab-stopped columns; header item rectangles, texts, layout
// and the click notification.
#include "ctl_fixture.h"

namespace {

using hwf::test::ControlTest;
using hwf::test::MatchSequence;
namespace pt = platform::testing;
using Cmds = std::vector<std::pair<int, int>>;

class ListTest : public ControlTest {
 protected:
  // 20 items in a box whose client area is 100 pixels high.
  HWND List(DWORD style = LBS_NOTIFY | WS_VSCROLL, int items = 20) {
    HWND l = Make("ListBox", "", style, 10, 10, 150, 104, 3, WS_EX_CLIENTEDGE);
    for (int i = 0; i < items; ++i)
      SendMessageA(l, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("item " + std::to_string(i)).c_str()));
    h_ = static_cast<int>(SendMessageA(l, LB_GETITEMHEIGHT, 0, 0));
    visible_ = 100 / h_;
    Pump();
    rec_.Clear();
    return l;
  }
  // Selection notifications only; focus ones come and go with the focus.
  Cmds Picks() const {
    Cmds out;
    for (auto c : Commands())
      if (c.second == LBN_SELCHANGE || c.second == LBN_DBLCLK) out.push_back(c);
    return out;
  }
  static int Cur(HWND l) { return static_cast<int>(SendMessageA(l, LB_GETCURSEL, 0, 0)); }
  static int Top(HWND l) { return static_cast<int>(SendMessageA(l, LB_GETTOPINDEX, 0, 0)); }
  int h_ = 0, visible_ = 0;
};

TEST_F(ListTest, ClicksSelectAndNotifyOnlyWithLbsNotify) {
  HWND l = List();
  ClickAt(l, 20, 2 * h_ + 1);
  Pump();
  EXPECT_EQ(Cur(l), 2);
  EXPECT_EQ(Picks(), (Cmds{{3, LBN_SELCHANGE}}));
  ClickAt(l, 20, 2 * h_ + 1);
  Pump();
  EXPECT_EQ(Picks(), (Cmds{{3, LBN_SELCHANGE}, {3, LBN_DBLCLK}})) << "second click on the same item";
  HWND quiet = Make("ListBox", "", 0, 200, 10, 100, 60, 4);
  SendMessageA(quiet, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("a"));
  Pump();
  rec_.Clear();
  ClickAt(quiet, 5, 2);
  Pump();
  EXPECT_EQ(Cur(quiet), 0);
  for (auto [id, code] : Commands()) EXPECT_NE(id, 4) << "code " << code;
}

TEST_F(ListTest, KeysMoveTheSelectionAndScrollItIntoView) {
  HWND l = List();
  ASSERT_GT(visible_, 2);
  SetFocus(l);
  Pump();
  Key(VK_DOWN);
  Pump();
  EXPECT_EQ(Cur(l), 0) << "the first Down selects the first item";
  Key(VK_END);
  Pump();
  EXPECT_EQ(Cur(l), 19);
  EXPECT_EQ(Top(l), 20 - visible_);
  Key(VK_PRIOR);
  Pump();
  EXPECT_EQ(Cur(l), 19 - visible_ + 1);
  Key(VK_HOME);
  Pump();
  EXPECT_EQ(Cur(l), 0);
  EXPECT_EQ(Top(l), 0);
  Key(VK_NEXT);
  Pump();
  EXPECT_EQ(Cur(l), visible_ - 1);
  EXPECT_EQ(Picks().size(), 5u);
}

TEST_F(ListTest, WheelAndScrollBarMoveTheTopIndexWithinBounds) {
  HWND l = List();
  SetFocus(l);  // the wheel turns the focused window
  POINT c = Screen(l, 20, 20);
  pt::Wheel(c.x, c.y, -WHEEL_DELTA);
  Pump();
  EXPECT_EQ(Top(l), 3) << "three lines a notch";
  pt::Wheel(c.x, c.y, -10 * WHEEL_DELTA);
  Pump();
  EXPECT_EQ(Top(l), 20 - visible_) << "never past the last page";
  pt::Wheel(c.x, c.y, 100 * WHEEL_DELTA);
  Pump();
  EXPECT_EQ(Top(l), 0);
  // The scroll bar stands right of the client area: arrows 17 pixels high.
  POINT down = Screen(l, 150 - 4 - 17 + 8, 100 - 5), up = Screen(l, 150 - 4 - 17 + 8, 5);
  pt::Click(down.x, down.y);
  Pump();
  EXPECT_EQ(Top(l), 1);
  pt::Click(up.x, up.y);
  Pump();
  EXPECT_EQ(Top(l), 0);
  POINT track = Screen(l, 150 - 4 - 17 + 8, 100 - 17 - 3);  // below the scroll box
  pt::Click(track.x, track.y);
  Pump();
  EXPECT_EQ(Top(l), visible_) << "a page down";
  EXPECT_EQ(Cur(l), -1) << "scrolling selects nothing";
}

TEST_F(ListTest, ItemBookkeeping) {
  HWND l = List(LBS_NOTIFY, 3);
  SendMessageA(l, LB_SETCURSEL, 1, 0);
  EXPECT_EQ(SendMessageA(l, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("首")), 0);
  EXPECT_EQ(Cur(l), 2) << "the selection stays on its item";
  EXPECT_EQ(SendMessageA(l, LB_INSERTSTRING, 9, reinterpret_cast<LPARAM>("x")), LB_ERR);
  EXPECT_EQ(SendMessageA(l, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("末")), 4);
  char buf[32];
  EXPECT_EQ(SendMessageA(l, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(buf)), 3);
  EXPECT_STREQ(buf, "首");
  EXPECT_EQ(SendMessageA(l, LB_GETTEXTLEN, 4, 0), 3);
  EXPECT_EQ(SendMessageA(l, LB_GETTEXTLEN, 5, 0), LB_ERR);
  SendMessageA(l, LB_SETITEMDATA, 2, 0x1234);
  EXPECT_EQ(SendMessageA(l, LB_DELETESTRING, 0, 0), 4);
  EXPECT_EQ(SendMessageA(l, LB_GETITEMDATA, 1, 0), 0x1234) << "data moves with its item";
  EXPECT_EQ(Cur(l), 1);
  SendMessageA(l, LB_DELETESTRING, 1, 0);
  EXPECT_EQ(Cur(l), -1) << "deleting the selected item clears the selection";
  EXPECT_EQ(SendMessageA(l, LB_SETCURSEL, 7, 0), LB_ERR);
  EXPECT_EQ(SendMessageA(l, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("ITEM 2")),
            1);
  SendMessageA(l, LB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessageA(l, LB_GETCOUNT, 0, 0), 0);
  EXPECT_TRUE(Commands().empty()) << "programmatic changes are not notified";
  HWND sorted = Make("ListBox", "", LBS_SORT, 200, 10, 100, 60, 4);
  for (const char* s : {"pear", "Apple", "fig"})
    SendMessageA(sorted, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  SendMessageA(sorted, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(buf));
  EXPECT_STREQ(buf, "fig") << "sorted without regard to case";
}

TEST_F(ListTest, TabStopsPlaceColumns) {
  HWND l = Make("ListBox", "", LBS_USETABSTOPS, 10, 10, 300, 40, 3);
  SendMessageA(l, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("a\tb"));
  HDC dc = GetDC(l);
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(l, dc);
  int stop = 100;  // dialog units
  SendMessageA(l, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop));
  Pump();
  int x = 2 + stop * static_cast<int>(tm.tmAveCharWidth) / 4;  // after the item's 2-pixel margin
  EXPECT_EQ(CountPixels(l, RECT{20, 0, x - 1, 13}, Dark), 0) << "nothing between the columns";
  EXPECT_GT(CountPixels(l, RECT{x, 0, x + 12, 13}, Dark), 3) << "the second column starts at the stop";
}

class HeaderTest : public ControlTest {
 protected:
  HWND Header() {
    HWND h = Make("SysHeader32", "", HDS_BUTTONS, 10, 10, 300, 20, 8);
    const char* names[] = {"名称", "大小", "修改日期"};
    int widths[] = {120, 60, 100};
    for (int i = 0; i < 3; ++i) {
      HDITEMA it{};
      it.mask = HDI_TEXT | HDI_WIDTH;
      it.pszText = const_cast<char*>(names[i]);
      it.cxy = widths[i];
      SendMessageA(h, HDM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
    }
    Pump();
    rec_.Clear();
    return h;
  }
};

TEST_F(HeaderTest, ItemRectanglesFollowTheWidthsInOrder) {
  HWND h = Header();
  EXPECT_EQ(SendMessageA(h, HDM_GETITEMCOUNT, 0, 0), 3);
  RECT r{};
  ASSERT_TRUE(SendMessageA(h, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r)));
  EXPECT_EQ(r.left, 120);
  EXPECT_EQ(r.right, 180);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.bottom, 20);
  HDITEMA w{};
  w.mask = HDI_WIDTH;
  w.cxy = 80;
  SendMessageA(h, HDM_SETITEMA, 0, reinterpret_cast<LPARAM>(&w));
  SendMessageA(h, HDM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.left, 140);
  EXPECT_EQ(r.right, 240);
  EXPECT_TRUE(SendMessageA(h, HDM_DELETEITEM, 1, 0));
  SendMessageA(h, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.left, 80);
  EXPECT_FALSE(SendMessageA(h, HDM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r)));
  EXPECT_FALSE(SendMessageA(h, HDM_DELETEITEM, 5, 0));
}

TEST_F(HeaderTest, TextComesBackWithinTheCallersBuffer) {
  HWND h = Header();
  char buf[255] = {};
  HDITEMA it{};
  it.mask = HDI_TEXT;
  it.pszText = buf;
  it.cchTextMax = 256;
  ASSERT_TRUE(SendMessageA(h, HDM_GETITEMA, 2, reinterpret_cast<LPARAM>(&it)));
  EXPECT_STREQ(buf, "修改日期");
  char small[4] = {'x', 'x', 'x', 'x'};
  it.pszText = small;
  it.cchTextMax = 4;
  SendMessageA(h, HDM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
  EXPECT_EQ(std::string(small), "\xE5\x90\x8D") << "cut to the capacity, NUL inside it";
  EXPECT_FALSE(SendMessageA(h, HDM_GETITEMA, 3, reinterpret_cast<LPARAM>(&it)));
}

TEST_F(HeaderTest, AClickOnAnItemNotifiesTheParent) {
  HWND h = Header();
  NMHEADERA got{};
  rec_.SetHandler([&](HWND w, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
    if (w == parent_ && m == WM_NOTIFY) got = *reinterpret_cast<NMHEADERA*>(l);
    return std::nullopt;
  });
  ClickAt(h, 150, 10);
  Pump();
  EXPECT_TRUE(MatchSequence(rec_.Only({WM_NOTIFY}), {{parent_, WM_NOTIFY, 8}}));
  EXPECT_EQ(got.hdr.hwndFrom, h);
  EXPECT_EQ(got.hdr.idFrom, 8u);
  EXPECT_EQ(got.hdr.code, static_cast<UINT>(HDN_ITEMCLICKA));
  EXPECT_EQ(got.iItem, 1);
  EXPECT_EQ(got.iButton, 0);
  // Pressed on one item, released on another: no click.
  POINT a = Screen(h, 10, 10), b = Screen(h, 250, 10);
  pt::MouseDown(a.x, a.y);
  Pump();
  pt::MouseMove(b.x, b.y);
  pt::MouseUp(b.x, b.y);
  Pump();
  EXPECT_EQ(rec_.Count(parent_, WM_NOTIFY), 1);
}

TEST_F(HeaderTest, LayoutTakesAFontHighStripFromTheTop) {
  HWND h = Header();
  RECT area{0, 0, 300, 200};
  WINDOWPOS pos{};
  HDLAYOUT layout{&area, &pos};
  ASSERT_TRUE(SendMessageA(h, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout)));
  EXPECT_EQ(pos.x, 0);
  EXPECT_EQ(pos.cx, 300);
  EXPECT_GT(pos.cy, 13);
  EXPECT_LT(pos.cy, 30);
  EXPECT_EQ(area.top, pos.cy) << "the list goes under the header";
}

}  // namespace
