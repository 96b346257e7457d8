// WM_CONTEXTMENU from the default window procedure: the right button's
// release, Shift+F10 and the menu key, and its way up to the parent.
#include "menu_fixture.h"

namespace {

using hwf::test::MatchSequence;
using hwf::test::MenuTest;
namespace pt = platform::testing;

class ContextMenuTest : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    canvas_ =
        Child(owner_, 20, 50, 200, 150, WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 2);  // client at (121, 151)
    Pump();
    rec_.Clear();
  }
  std::vector<hwf::test::LoggedMessage> Requests() const { return rec_.Only({WM_CONTEXTMENU}); }
  WPARAM From(HWND h) const { return reinterpret_cast<WPARAM>(h); }

  HWND canvas_ = nullptr;
};

TEST_F(ContextMenuTest, TheRightButtonsReleaseAsksTheWindowThenItsParentWithTheScreenPosition) {
  pt::MouseDown(171, 181, pt::Button::Right);
  Pump();
  EXPECT_TRUE(Requests().empty()) << "not on the press";
  pt::MouseUp(171, 181, pt::Button::Right);
  Pump();
  EXPECT_TRUE(MatchSequence(rec_.Only({WM_RBUTTONUP, WM_CONTEXTMENU}),
                            {
                                {canvas_, WM_RBUTTONUP, 0, MAKELPARAM(50, 30)},
                                {canvas_, WM_CONTEXTMENU, From(canvas_), MAKELPARAM(171, 181)},
                                {owner_, WM_CONTEXTMENU, From(canvas_), MAKELPARAM(171, 181)},
                            }));
  EXPECT_TRUE(Requests()[0].inDefProc) << "made by DefWindowProcA from the release";

  // A window that answers the request itself keeps it from its parent.
  rec_.SetHandler([&](HWND h, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (h == canvas_ && msg == WM_CONTEXTMENU) return 0;
    return std::nullopt;
  });
  rec_.Clear();
  pt::Click(171, 181, pt::Button::Right);
  Pump();
  EXPECT_TRUE(MatchSequence(Requests(), {{canvas_, WM_CONTEXTMENU, From(canvas_), MAKELPARAM(171, 181)}}));
}

TEST_F(ContextMenuTest, ShiftF10AndTheReleasedMenuKeyAskWithPositionMinusOne) {
  SetFocus(canvas_);
  Pump();
  rec_.Clear();
  Key(VK_F10);  // F10 alone asks for nothing
  pt::KeyDown(VK_SHIFT);
  Key(VK_F10);
  pt::KeyUp(VK_SHIFT);
  pt::KeyDown(VK_APPS);
  Pump();
  const LPARAM kFromKeyboard = -1;
  EXPECT_TRUE(MatchSequence(Requests(), {
                                            {canvas_, WM_CONTEXTMENU, From(canvas_), kFromKeyboard},
                                            {owner_, WM_CONTEXTMENU, From(canvas_), kFromKeyboard},
                                        }));
  rec_.Clear();
  pt::KeyUp(VK_APPS);
  Pump();
  EXPECT_TRUE(MatchSequence(Requests(), {
                                            {canvas_, WM_CONTEXTMENU, From(canvas_), kFromKeyboard},
                                            {owner_, WM_CONTEXTMENU, From(canvas_), kFromKeyboard},
                                        }));
}

TEST_F(ContextMenuTest, ARightClickElsewhereClosesTheMenuAndAsksAgainThere) {
  // The owner shows the menu where it is asked; the second request finds the
  // first menu closed.
  std::vector<POINT> asked;
  BOOL firstResult = -1;
  rec_.SetHandler([&](HWND h, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    if (h != owner_ || msg != WM_CONTEXTMENU) return std::nullopt;
    asked.push_back(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (asked.size() == 1) {
      pt::SetIdleHook([&]() {
        pt::SetIdleHook(nullptr);
        pt::Click(310, 295, pt::Button::Right);  // on the canvas, below the menu
        return true;
      });
      firstResult =
          TrackPopupMenu(menu_, TPM_RETURNCMD | TPM_RIGHTBUTTON, asked[0].x, asked[0].y, 0, owner_, nullptr);
    } else {
      EXPECT_EQ(MenuWindow(), nullptr);
    }
    return 0;
  });
  pt::Click(131, 161, pt::Button::Right);
  Pump();
  EXPECT_EQ(firstResult, 0);
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0].x, 131);
  EXPECT_EQ(asked[1].x, 310);
  EXPECT_EQ(asked[1].y, 295);
  EXPECT_EQ(rec_.Count(canvas_, WM_RBUTTONDOWN), 2) << "the press that closed the menu reached the canvas";
}

}  // namespace
