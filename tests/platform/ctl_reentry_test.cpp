// A parent may destroy a control from inside the control's own
// notification; the control must not touch its state afterwards (the
// sanitizer build turns any such use into a failure).
#include "ctl_fixture.h"

namespace {

using hwf::test::ControlTest;
namespace pt = platform::testing;

class ReentryTest : public ControlTest {
 protected:
  // Destroys the sender of the first WM_COMMAND with the given code.
  void DestroyOn(WORD code) {
    rec_.SetHandler([this, code](HWND h, UINT m, WPARAM w, LPARAM l) -> std::optional<LRESULT> {
      if (h == parent_ && m == WM_COMMAND && HIWORD(w) == code && IsWindow(reinterpret_cast<HWND>(l))) {
        DestroyWindow(reinterpret_cast<HWND>(l));
        ++destroyed_;
        return 0;
      }
      return std::nullopt;
    });
  }
  int destroyed_ = 0;
};

TEST_F(ReentryTest, ButtonDestroyedByItsClickByMouseAndBySpace) {
  DestroyOn(BN_CLICKED);
  HWND a = Make("Button", "a", BS_AUTOCHECKBOX, 10, 10, 80, 20, 1);
  HWND b = Make("Button", "b", BS_PUSHBUTTON, 10, 40, 80, 20, 2);
  Pump();
  ClickAt(a, 5, 5);
  Pump();
  SetFocus(b);
  Key(VK_SPACE);
  Pump();
  EXPECT_EQ(destroyed_, 2);
  EXPECT_FALSE(IsWindow(a));
  EXPECT_FALSE(IsWindow(b));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ReentryTest, EditDestroyedByTheChangeItReports) {
  DestroyOn(EN_CHANGE);
  HWND e = Make("Edit", "", ES_AUTOHSCROLL, 10, 10, 100, 20, 1);
  SetFocus(e);
  Pump();
  pt::Text("中x");  // the rest of the bytes find no window
  Pump();
  EXPECT_EQ(destroyed_, 1);
  EXPECT_FALSE(IsWindow(e));
}

TEST_F(ReentryTest, ComboBoxDestroyedWhenAChoiceIsMade) {
  DestroyOn(CBN_SELCHANGE);
  HWND c = Make("ComboBox", "", CBS_DROPDOWN, 10, 10, 80, 22, 1);
  for (const char* s : {"a", "b"}) SendMessageA(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  SetFocus(c);
  Pump();
  Key(VK_F4);
  Key(VK_DOWN);
  Key(VK_RETURN);
  Pump();
  EXPECT_EQ(destroyed_, 1);
  EXPECT_FALSE(IsWindow(c));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(pt::LiveObjects(platform::HandleKind::Window), 1u) << "only the parent is left, no orphaned list";
}

TEST_F(ReentryTest, ListBoxDestroyedOnSelectionChange) {
  DestroyOn(LBN_SELCHANGE);
  HWND l = Make("ListBox", "", LBS_NOTIFY, 10, 10, 100, 60, 1);
  SendMessageA(l, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("a"));
  Pump();
  ClickAt(l, 5, 3);
  Pump();
  EXPECT_EQ(destroyed_, 1);
  EXPECT_FALSE(IsWindow(l));
  EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
