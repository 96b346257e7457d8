// The hot and pressed looks of check boxes, option buttons, combo boxes, drive lists and headers:
// which messages paint which state, the combo box's button area, the header's hot and pressed
// items, and the repaint of all toggles after a left-button release.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "group_windows.h"
#include "skin/painters.h"
#include "skin/skin_install.h"
#include "skin/skin_props.h"
#include "skin/skin_state.h"

namespace {

using namespace skin;
namespace pt = platform::testing;

// A state no painter ever writes: still there afterwards means nothing was painted.
constexpr std::int32_t kUnpainted = 7;

class ControlStates : public skintest::GroupWindowTest {
 protected:
  void SetUp() override {
    skintest::GroupWindowTest::SetUp();
    form_ = Form(50, 40, 500, 300);
    ApplySkin(form_);  // the skin bitmaps; controls are skinned one by one as they come
  }
  HWND Skinned(HWND h) {
    rec_.Subclass(h, "own");  // the procedure the skin hands on to
    SkinWindow(h);
    Pump();
    rec_.Clear();
    return h;
  }
  static std::int32_t State(HWND h) { return GetIntProp(h, kOldStateProp); }
  static POINT ScreenAt(HWND h, int x, int y) {
    RECT r;
    GetWindowRect(h, &r);
    return {r.left + x, r.top + y};
  }
  HWND form_ = nullptr;
};

// --- check boxes and option buttons

TEST_F(ControlStates, CheckBoxStatePerMessage) {
  HWND check = Skinned(Control(form_, skintest::kCheckBoxClass, BS_AUTOCHECKBOX, 20, 20, 120, 20, "选项"));
  SetIntProp(check, kMouseFlagProp, 1);  // leave tracking is another test's business
  struct Row {
    UINT msg;
    WPARAM wParam;
    std::int32_t before, after;
    bool painted;
  };
  const Row rows[] = {
      {WM_MOUSEMOVE, 0, 1, 1, true},  // forced: painted although the state is the same
      {WM_MOUSEMOVE, MK_LBUTTON, kUnpainted, 2, true},
      {WM_LBUTTONDOWN, MK_LBUTTON, 2, 2, false},  // not forced: the same state is skipped
      {WM_LBUTTONDOWN, MK_LBUTTON, 1, 2, true},
      {WM_KEYDOWN, VK_SPACE, 1, 2, true},
      {WM_KEYUP, VK_SPACE, 2, 0, true},
      {WM_KEYDOWN, VK_RETURN, kUnpainted, kUnpainted, false},
      {WM_KEYUP, 'A', kUnpainted, kUnpainted, false},
      {WM_SETFOCUS, 0, kUnpainted, kUnpainted, false},
      {WM_KILLFOCUS, 0, kUnpainted, kUnpainted, false},
      {WM_LBUTTONDBLCLK, MK_LBUTTON, kUnpainted, kUnpainted, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(hwf::test::MessageName(row.msg) + " " + std::to_string(row.wParam));
    SetIntProp(check, kOldStateProp, row.before);
    rec_.Clear();
    SendMessageA(check, row.msg, row.wParam, MAKELPARAM(5, 5));
    EXPECT_EQ(rec_.Count(check, row.msg), 1) << "handed on";
    EXPECT_EQ(State(check), row.after);
    // The check painter asks for the check state each time it draws.
    EXPECT_EQ(rec_.Count(check, BM_GETCHECK) > 0, row.painted);
    ReleaseCapture();
    Pump();
  }
}

TEST_F(ControlStates, OptionButtonRedrawsItsMarkOnFocusChanges) {
  HWND option =
      Skinned(Control(form_, skintest::kOptionButtonClass, BS_AUTORADIOBUTTON, 20, 20, 120, 20, "甲"));
  for (UINT msg : {WM_SETFOCUS, WM_KILLFOCUS}) {
    SCOPED_TRACE(hwf::test::MessageName(msg));
    SetIntProp(option, kOldStateProp, 0);
    rec_.Clear();
    SendMessageA(option, msg, 0, 0);
    EXPECT_EQ(State(option), 0);
    EXPECT_EQ(rec_.Count(option, BM_GETCHECK), 1) << "painted although the state is unchanged";
  }
  SetIntProp(option, kOldStateProp, kUnpainted);
  SendMessageA(option, WM_KEYDOWN, 'X', 0);
  EXPECT_EQ(State(option), kUnpainted) << "keys other than space change nothing";
}

TEST_F(ControlStates, TogglesTrackTheMouseAndGoBackToNormalWhenLeft) {
  HWND check = Skinned(Control(form_, skintest::kCheckBoxClass, BS_AUTOCHECKBOX, 20, 20, 120, 20, "选项"));
  const POINT p = ScreenAt(check, 60, 10);
  pt::MouseMove(p.x, p.y);
  Pump();
  EXPECT_EQ(GetIntProp(check, kMouseFlagProp), 1);
  EXPECT_EQ(State(check), 1);
  pt::MouseMove(p.x + 1, p.y);
  pt::MouseMove(400, 250);  // over the form, off the check box
  Pump();
  EXPECT_EQ(rec_.Count(check, WM_MOUSELEAVE), 1) << "one leave request for all the moves";
  EXPECT_EQ(GetIntProp(check, kMouseFlagProp), 0);
  EXPECT_EQ(State(check), 0);
}

// After a release anywhere, every skinned toggle below the released window's parent is painted
// normal, forced; a window without a parent takes its own children.
TEST_F(ControlStates, ReleaseRepaintsTheTogglesBelowTheParent) {
  HWND check = Control(form_, skintest::kCheckBoxClass, BS_AUTOCHECKBOX, 20, 20, 120, 20, "选项");
  HWND frame = Control(form_, kFormClass, 0, 20, 60, 200, 100);
  HWND option = Control(frame, skintest::kOptionButtonClass, BS_AUTORADIOBUTTON, 5, 5, 120, 20, "甲");
  HWND elsewhere = Form(300, 300, 150, 80);
  HWND strangerCheck = Control(elsewhere, skintest::kCheckBoxClass, BS_AUTOCHECKBOX, 5, 5, 120, 20, "乙");
  for (HWND h : {check, frame, elsewhere}) SkinWindow(h);
  Pump();
  for (HWND h : {check, option, strangerCheck}) SetIntProp(h, kOldStateProp, 1);

  SendMessageA(form_, WM_LBUTTONUP, 0, MAKELPARAM(400, 250));
  EXPECT_EQ(State(check), 0);
  EXPECT_EQ(State(option), 0) << "children of children too";
  EXPECT_EQ(State(strangerCheck), 1) << "another window's toggles are left alone";

  for (HWND h : {check, option}) SetIntProp(h, kOldStateProp, 1);
  SendMessageA(frame, WM_LBUTTONUP, 0, 0);  // the frame's parent is the form
  EXPECT_EQ(State(check), 0);
  EXPECT_EQ(State(option), 0);
}

// --- combo boxes and drive lists

class ComboStates : public ControlStates {
 protected:
  static constexpr int kW = 121, kH = 21;
  HWND Combo(const char* cls, DWORD style) {
    HWND h = Control(form_, cls, style, 20, 20, kW, kH);
    SendMessageA(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("8"));
    HWND skinned = Skinned(h);
    SetIntProp(skinned, kMouseFlagProp, 1);
    return skinned;
  }
  // The state painted for one message at (x, y), or kUnpainted.
  std::int32_t After(HWND combo, UINT msg, WPARAM keys, int x, int y) {
    SetIntProp(combo, kOldStateProp, kUnpainted);
    SendMessageA(combo, msg, keys, MAKELPARAM(x, y));
    const std::int32_t state = State(combo);
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    ReleaseCapture();
    Pump();
    return state;
  }
};

// The button area of an editable combo box: W - c - 2 <= x <= W - 2 and 2 <= y <= H - 2, bounds
// included; c = 17 gives x from 102 to 119 and y from 2 to 19.
TEST_F(ComboStates, EditableComboIsHotOrPressedOnlyOverItsButton) {
  ASSERT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
  HWND combo = Combo("ComboBox", CBS_DROPDOWN);
  struct Point {
    int x, y;
    bool inside;
  };
  for (const Point& p :
       {Point{101, 10, false}, Point{102, 10, true}, Point{119, 10, true}, Point{120, 10, false},
        Point{110, 1, false}, Point{110, 2, true}, Point{110, 19, true}, Point{110, 20, false}}) {
    SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
    EXPECT_EQ(After(combo, WM_MOUSEMOVE, 0, p.x, p.y), p.inside ? 1 : 0);
    EXPECT_EQ(After(combo, WM_MOUSEMOVE, MK_LBUTTON, p.x, p.y), p.inside ? 2 : 0);
  }
  EXPECT_EQ(After(combo, WM_LBUTTONDOWN, MK_LBUTTON, 30, 10), kUnpainted) << "the text part";
  EXPECT_EQ(After(combo, WM_LBUTTONDOWN, MK_LBUTTON, 110, 10), 2) << "the button";
  EXPECT_EQ(After(combo, WM_WINDOWPOSCHANGING, 0, 0, 0), 0);
  for (UINT msg : {WM_LBUTTONDBLCLK, WM_KEYDOWN, WM_KEYUP, WM_SETFOCUS, WM_KILLFOCUS})
    EXPECT_EQ(After(combo, msg, msg == WM_KEYDOWN || msg == WM_KEYUP ? VK_SPACE : 0, 110, 10), kUnpainted)
        << hwf::test::MessageName(msg);
}

TEST_F(ComboStates, DropDownListAndDriveListAreButtonsAllOver) {
  HWND list = Combo("ComboBox", CBS_DROPDOWNLIST);
  EXPECT_EQ(After(list, WM_LBUTTONDOWN, MK_LBUTTON, 30, 10), 2);
  EXPECT_EQ(After(list, WM_MOUSEMOVE, 0, 3, 3), 1);
  HWND drive = Combo(skintest::kDriveListClass, CBS_DROPDOWN);
  EXPECT_EQ(After(drive, WM_MOUSEMOVE, 0, 30, 10), 1) << "no text part, whatever the style";
  EXPECT_EQ(After(drive, WM_MOUSEMOVE, MK_LBUTTON, 30, 10), 2);
}

// Released with the cursor over the combo box itself: hot; over its edit field (a child) or away:
// normal.
TEST_F(ComboStates, ReleaseIsHotOnlyWithTheCursorOverTheComboItself) {
  HWND combo = Combo("ComboBox", CBS_DROPDOWN);
  HWND edit = GetWindow(combo, GW_CHILD);
  ASSERT_NE(edit, nullptr);
  RECT e;
  GetWindowRect(edit, &e);
  const POINT overButton = ScreenAt(combo, 110, 10);
  struct Where {
    POINT cursor;
    std::int32_t state;
  };
  for (const Where& w : {Where{overButton, 1}, Where{{e.left + 5, e.top + 5}, 0}, Where{{450, 300}, 0}}) {
    SCOPED_TRACE(std::to_string(w.cursor.x) + "," + std::to_string(w.cursor.y));
    pt::MouseMove(w.cursor.x, w.cursor.y);
    Pump();
    SetIntProp(combo, kMouseFlagProp, 1);
    EXPECT_EQ(After(combo, WM_LBUTTONUP, 0, 110, 10), w.state);
  }
  SetIntProp(combo, kOldStateProp, 1);
  SendMessageA(combo, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(GetIntProp(combo, kMouseFlagProp), 0);
  EXPECT_EQ(State(combo), 0);
}

// --- a control whose own procedure takes the skin off or destroys it

// The procedure under the skin: on the chosen message it takes the skin off its window or
// destroys it, then does the control's own work if the window is still there.
struct SelfEnding {
  static inline WNDPROC own = nullptr;
  static inline UINT on = 0;
  static inline bool destroy = false;
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    const WNDPROC next = own;
    if (m == on) {
      on = 0;
      if (destroy) {
        DestroyWindow(h);
        return 0;
      }
      UnskinWindow(h);
    }
    return CallWindowProcA(next, h, m, w, l);
  }
};

// Handing a message on may take the skin off the window or destroy it (a click that closes a
// dialog). Nothing is painted afterwards: no property of the skin comes back onto a window that
// no longer carries it, and nothing is drawn for a window that is gone.
TEST_F(ControlStates, AControlUnskinnedOrDestroyedWhileHandingOnIsNotPainted) {
  struct Kind {
    const char* cls;
    DWORD style;
    UINT msg;
    WPARAM keys;
  };
  const Kind kinds[] = {{skintest::kCheckBoxClass, BS_AUTOCHECKBOX, WM_LBUTTONDOWN, MK_LBUTTON},
                        {skintest::kOptionButtonClass, BS_AUTORADIOBUTTON, WM_MOUSEMOVE, 0},
                        {"ComboBox", CBS_DROPDOWNLIST, WM_MOUSEMOVE, 0},
                        {WC_HEADERA, 0, WM_LBUTTONDOWN, MK_LBUTTON}};
  for (const Kind& k : kinds) {
    for (bool destroy : {false, true}) {
      SCOPED_TRACE(std::string(k.cls) + (destroy ? ", destroyed" : ", unskinned"));
      HWND h = Control(form_, k.cls, k.style, 20, 20, 120, 20, "选项");
      if (k.cls == std::string(WC_HEADERA)) {
        HDITEMA item{};
        item.mask = HDI_WIDTH;
        item.cxy = 60;
        SendMessageA(h, HDM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
      }
      SelfEnding::own = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SelfEnding::Proc)));
      SkinWindow(h);
      Pump();
      SetIntProp(h, kMouseFlagProp, 1);
      const std::size_t dcs = pt::LiveObjects(platform::HandleKind::DC);
      const std::size_t bitmaps = pt::LiveObjects(platform::HandleKind::Bitmap);
      SelfEnding::on = k.msg;
      SelfEnding::destroy = destroy;
      SendMessageA(h, k.msg, k.keys, MAKELPARAM(10, 5));
      EXPECT_EQ(SelfEnding::on, 0u) << "the message reached the procedure under the skin";
      if (destroy) {
        EXPECT_FALSE(IsWindow(h));
      } else {
        EXPECT_TRUE(skintest::EnginePropsOn(h).empty());
        DestroyWindow(h);
      }
      EXPECT_EQ(pt::LiveObjects(platform::HandleKind::DC), dcs);
      EXPECT_EQ(pt::LiveObjects(platform::HandleKind::Bitmap), bitmaps);
    }
  }
}

// --- headers

// Three empty items of 60 pixels: 0..60, 60..120, 120..180 (both ends count, the first match wins).
class HeaderStates : public ControlStates {
 protected:
  void SetUp() override {
    ControlStates::SetUp();
    header_ = Control(form_, WC_HEADERA, 0, 10, 10, 240, 20);
    for (int i = 0; i < 3; ++i) {
      HDITEMA item{};
      item.mask = HDI_TEXT | HDI_WIDTH;
      item.cxy = 60;
      char empty[] = "";
      item.pszText = empty;
      SendMessageA(header_, HDM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    Skinned(header_);
    SetIntProp(header_, kMouseFlagProp, 1);
  }
  // Items painted by the skin since the last clear, in order: the item painter asks for each
  // item's text, and nothing else does.
  std::vector<WPARAM> Painted() const {
    std::vector<WPARAM> items;
    for (const auto& m : rec_.Only({HDM_GETITEMA})) items.push_back(m.wParam);
    return items;
  }
  // The state an item shows, told by the centre column of the header skin's frames; -1 for none.
  int Shown(int item) const {
    for (int state = 0; state < 3; ++state) {
      bool all = true;
      for (int y = 0; y < 20 && all; ++y)
        all = At(header_, item * 60 + 1, y) == GetPixel(HeaderSkinDC, state * 3 + 1, y);
      if (all) return state;
    }
    return -1;
  }
  void Send(UINT msg, WPARAM keys, int x) {
    rec_.Clear();
    SendMessageA(header_, msg, keys, MAKELPARAM(x, 5));
  }
  void Indexes(std::int32_t hot, std::int32_t pressed) {
    SetIntProp(header_, kHmIndexProp, hot);
    SetIntProp(header_, kHdIndexProp, pressed);
  }
  HWND header_ = nullptr;
};

TEST_F(HeaderStates, MovesPaintOnlyTheItemsWhoseLookChanges) {
  Send(WM_MOUSEMOVE, 0, 10);
  EXPECT_EQ(Painted(), (std::vector<WPARAM>{0}));
  EXPECT_EQ(Shown(0), 1);
  EXPECT_EQ(GetIntProp(header_, kHmIndexProp), 0);
  Send(WM_MOUSEMOVE, 0, 60);  // the shared edge belongs to the first item
  EXPECT_TRUE(Painted().empty());
  Send(WM_MOUSEMOVE, 0, 61);
  EXPECT_EQ(Painted(), (std::vector<WPARAM>{0, 1}));
  EXPECT_EQ(Shown(0), 0);
  EXPECT_EQ(Shown(1), 1);
  Send(WM_MOUSEMOVE, 0, 200);  // right of the last item
  EXPECT_EQ(Painted(), (std::vector<WPARAM>{1}));
  EXPECT_EQ(Shown(1), 0);
  EXPECT_EQ(GetIntProp(header_, kHmIndexProp), -1);
}

TEST_F(HeaderStates, WhileHeldOnlyThePressedItemShowsPressed) {
  Send(WM_MOUSEMOVE, 0, 70);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 70);
  EXPECT_EQ(GetIntProp(header_, kHdIndexProp), 1);
  EXPECT_EQ(Painted(), (std::vector<WPARAM>{1}));
  EXPECT_EQ(Shown(1), 2);
  for (int x : {10, 130, 70}) {
    Send(WM_MOUSEMOVE, MK_LBUTTON, x);
    EXPECT_TRUE(Painted().empty()) << x;
    EXPECT_EQ(GetIntProp(header_, kHmIndexProp), 1) << x;
  }
  // Pressed item other than the hot one: the hot one goes normal, the pressed one shows pressed.
  Indexes(0, 2);
  Send(WM_MOUSEMOVE, MK_LBUTTON, 150);
  EXPECT_EQ(Painted(), (std::vector<WPARAM>{0, 2}));
  EXPECT_EQ(Shown(0), 0);
  EXPECT_EQ(Shown(2), 2);
  EXPECT_EQ(GetIntProp(header_, kHmIndexProp), 0);
}

TEST_F(HeaderStates, PressesAndDoubleClicksPickTheItemUnderTheMouse) {
  Indexes(-1, 2);
  Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 10);
  EXPECT_EQ(GetIntProp(header_, kHdIndexProp), 0);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 230);
  EXPECT_EQ(GetIntProp(header_, kHdIndexProp), -1) << "beside the items";
  EXPECT_TRUE(Painted().empty());

  for (int i = 2; i >= 0; --i) SendMessageA(header_, HDM_DELETEITEM, static_cast<WPARAM>(i), 0);
  Indexes(-1, 2);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 10);
  EXPECT_EQ(GetIntProp(header_, kHdIndexProp), 2) << "no items: nothing changes";
}

// The release paints the held item normal while the mouse is over the header and hot once it is
// elsewhere; a child window under the cursor does not count as the header.
TEST_F(HeaderStates, ReleasedItemIsNormalOverTheHeaderAndHotElsewhere) {
  HWND child = Control(header_, "Static", 0, 200, 0, 30, 20);
  RECT c;
  GetWindowRect(child, &c);
  struct Where {
    const char* name;
    POINT cursor;
    int shown;
  };
  for (const Where& w :
       {Where{"over the header", ScreenAt(header_, 70, 5), 0}, Where{"elsewhere", {450, 300}, 1},
        Where{"over a child of the header", {c.left + 5, c.top + 5}, 1}}) {
    SCOPED_TRACE(w.name);
    pt::MouseMove(w.cursor.x, w.cursor.y);
    Pump();
    SetIntProp(header_, kMouseFlagProp, 1);
    Indexes(1, 1);
    PaintHeaderItem(header_, nullptr, 1, 2);
    Send(WM_LBUTTONUP, 0, 70);
    EXPECT_EQ(GetIntProp(header_, kHdIndexProp), -1);
    EXPECT_EQ(Painted(), (std::vector<WPARAM>{1}));
    EXPECT_EQ(Shown(1), w.shown);
  }
  Indexes(-1, -1);
  Send(WM_LBUTTONUP, 0, 70);
  EXPECT_TRUE(Painted().empty()) << "nothing was held";
}

TEST_F(HeaderStates, LeavingClearsBothItemsAndShowsTheHotOneNormal) {
  Send(WM_MOUSEMOVE, 0, 130);
  Indexes(2, 1);
  Send(WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Painted(), (std::vector<WPARAM>{2}));
  EXPECT_EQ(Shown(2), 0);
  EXPECT_EQ(GetIntProp(header_, kHmIndexProp), -1);
  EXPECT_EQ(GetIntProp(header_, kHdIndexProp), -1);
  EXPECT_EQ(GetIntProp(header_, kMouseFlagProp), 0);
  for (UINT msg : {WM_KEYDOWN, WM_KEYUP, WM_SETFOCUS, WM_KILLFOCUS}) {
    Indexes(0, 0);
    Send(msg, VK_SPACE, 0);
    EXPECT_TRUE(Painted().empty()) << hwf::test::MessageName(msg);
  }
}

}  // namespace
