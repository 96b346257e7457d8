// Owner-drawn buttons hear of presses, releases and focus at once through WM_DRAWITEM for just that
// change, and are not repainted through WM_PAINT on the way; other push buttons repaint.
#include <vector>

#include "support/window_fixture.h"

namespace {

using hwf::test::WindowTest;
namespace pt = platform::testing;

class OwnerDrawButton : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    parent_ = Top(100, 100, 300, 200);
    rec_.SetHandler([this](HWND h, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
      if (h != parent_ || m != WM_DRAWITEM) return std::nullopt;
      const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
      drawn_.push_back({dis->itemAction, dis->itemState & (ODS_SELECTED | ODS_FOCUS)});
      return TRUE;
    });
  }
  HWND Make(DWORD kind) {
    HWND b = CreateWindowExA(0, "Button", "OK", WS_CHILD | WS_VISIBLE | kind, 10, 10, 60, 20, parent_,
                             reinterpret_cast<HMENU>(7), nullptr, nullptr);
    rec_.Subclass(b, "button");
    Pump();
    drawn_.clear();
    rec_.Clear();
    return b;
  }
  struct Drawn {
    UINT action, state;
    bool operator==(const Drawn&) const = default;
  };
  HWND parent_ = nullptr;
  std::vector<Drawn> drawn_;
};

TEST_F(OwnerDrawButton, PressFocusAndReleaseAreDrawnAtOnceWithoutAPaint) {
  HWND b = Make(BS_OWNERDRAW);
  pt::MouseDown(140, 120);
  Pump();
  EXPECT_EQ(drawn_, (std::vector<Drawn>{{ODA_FOCUS, ODS_FOCUS}, {ODA_SELECT, ODS_SELECTED | ODS_FOCUS}}));
  drawn_.clear();
  pt::MouseUp(140, 120);
  Pump();
  EXPECT_EQ(drawn_, (std::vector<Drawn>{{ODA_SELECT, ODS_FOCUS}}));
  EXPECT_EQ(rec_.Count(b, WM_PAINT), 0);
  EXPECT_EQ(rec_.Count(parent_, WM_COMMAND), 1) << "still a click";

  // A whole repaint still draws the whole item.
  drawn_.clear();
  InvalidateRect(b, nullptr, FALSE);
  Pump();
  EXPECT_EQ(drawn_, (std::vector<Drawn>{{ODA_DRAWENTIRE, ODS_FOCUS}}));
}

TEST_F(OwnerDrawButton, OtherPushButtonsRepaintOnAPress) {
  HWND b = Make(BS_PUSHBUTTON);
  SetFocus(b);
  Pump();
  rec_.Clear();
  pt::MouseDown(140, 120);
  Pump();
  EXPECT_GE(rec_.Count(b, WM_PAINT), 1);
  EXPECT_TRUE(drawn_.empty());
  pt::MouseUp(140, 120);
}

}  // namespace
