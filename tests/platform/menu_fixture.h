// Fixture of the popup-menu tests: an owner window with a focused child on
// the headless desktop, a menu shaped like a context menu (separators, a
// grayed item, accelerators, mnemonics), and TrackPopupMenu driven by a
// script whose steps run one at a time whenever the menu loop waits.
#pragma once

#include <functional>
#include <vector>

#include "support/window_fixture.h"

namespace hwf::test {

class MenuTest : public WindowTest {
 protected:
  enum : UINT { kBack = 101, kForward = 102, kCopy = 103, kPaste = 104, kExport = 105 };
  // Positions of the items in menu_.
  enum : UINT {
    kBackPos = 0,
    kForwardPos = 1,
    kFirstSeparator = 2,
    kCopyPos = 3,
    kPastePos = 4,
    kExportPos = 6
  };

  void SetUp() override {
    WindowTest::SetUp();
    owner_ = Top(100, 100, 400, 300);
    focus_ = Child(owner_, 10, 10, 100, 20, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 1);
    SetFocus(focus_);
    Pump();
    menu_ = CreatePopupMenu();
    AppendMenuA(menu_, MF_STRING, kBack, "上一个(&B)\tAlt+←");
    AppendMenuA(menu_, MF_STRING, kForward, "下一个(&N)\tAlt+→");
    AppendMenuA(menu_, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu_, MF_STRING | MF_GRAYED, kCopy, "复制(&C)\tCtrl+C");
    AppendMenuA(menu_, MF_STRING, kPaste, "粘贴(&P)\tCtrl+V");
    AppendMenuA(menu_, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu_, MF_STRING, kExport, "导出…\tF2");
    rec_.Clear();
  }
  void TearDown() override {
    if (menu_) DestroyMenu(menu_);
    WindowTest::TearDown();
  }

  using Step = std::function<void()>;

  // TrackPopupMenu(menu, flags, x, y) for owner_, running steps[i] the i-th
  // time the loop waits. A menu still open after the last step closes when
  // the loop finds nothing more can come.
  BOOL Track(UINT flags, int x, int y, std::vector<Step> steps, HMENU menu = nullptr) {
    std::size_t next = 0;
    platform::testing::SetIdleHook([&]() {
      if (next >= steps.size()) return false;
      steps[next++]();
      return true;
    });
    BOOL r = TrackPopupMenu(menu ? menu : menu_, flags, x, y, 0, owner_, nullptr);
    platform::testing::SetIdleHook(nullptr);
    EXPECT_EQ(next, steps.size()) << "the menu closed before its script ended";
    return r;
  }

  static HWND MenuWindow() { return FindWindowA("#32768", nullptr); }

  POINT Centre(UINT pos, HMENU menu = nullptr) const {
    RECT r{};
    EXPECT_TRUE(GetMenuItemRect(nullptr, menu ? menu : menu_, pos, &r)) << "item " << pos << " is not shown";
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void MoveTo(UINT pos) const {
    POINT p = Centre(pos);
    platform::testing::MouseMove(p.x, p.y);
  }
  void ClickItem(UINT pos, platform::testing::Button b = platform::testing::Button::Left) const {
    POINT p = Centre(pos);
    platform::testing::Click(p.x, p.y, b);
  }
  static void Key(UINT vk) {
    platform::testing::KeyDown(vk);
    platform::testing::KeyUp(vk);
  }
  bool Highlighted(UINT pos) const { return (GetMenuState(menu_, pos, MF_BYPOSITION) & MF_HILITE) != 0; }

  // What the owner heard of the menu, WM_ENTERIDLE left out.
  std::vector<LoggedMessage> MenuMessages() const {
    static const std::set<UINT> kMenu{WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP,
                                      WM_MENUSELECT,    WM_MENUCHAR, WM_UNINITMENUPOPUP,
                                      WM_EXITMENULOOP,  WM_COMMAND,  WM_CONTEXTMENU};
    return rec_.Filtered([this](const LoggedMessage& m) { return m.hwnd == owner_ && kMenu.count(m.msg); });
  }
  // Only the WM_MENUSELECT messages.
  std::vector<LoggedMessage> Selections() const {
    return rec_.Filtered(
        [this](const LoggedMessage& m) { return m.hwnd == owner_ && m.msg == WM_MENUSELECT; });
  }
  WPARAM W(HMENU m) const { return reinterpret_cast<WPARAM>(m); }
  LPARAM L(HMENU m) const { return reinterpret_cast<LPARAM>(m); }
  // A selection by keyboard and by mouse.
  Expected KeySel(UINT id) const { return {owner_, WM_MENUSELECT, MAKEWPARAM(id, MF_HILITE), L(menu_)}; }
  Expected MouseSel(UINT id) const {
    return {owner_, WM_MENUSELECT, MAKEWPARAM(id, MF_HILITE | MF_MOUSESELECT), L(menu_)};
  }
  Expected Closing() const { return {owner_, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0}; }

  HWND owner_ = nullptr;
  HWND focus_ = nullptr;
  HMENU menu_ = nullptr;
};

}  // namespace hwf::test
