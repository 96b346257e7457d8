// Routing of SkinWndProc, seen from the procedure that was in place before the skin: what reaches
// it, in which order, with which result, and which windows are adopted on the way.
#include <gtest/gtest.h>

#include <optional>

#include "skin/skin_install.h"
#include "skin/skin_props.h"
#include "skin/skin_state.h"
#include "skin/wndproc/skin_wndproc.h"
#include "skin_window_fixture.h"

namespace {

using namespace skin;
using hwf::test::Expected;
using hwf::test::MatchSequence;

class SkinRouting : public skintest::SkinWindowTest {
 protected:
  // A recording window under the skin; its class procedure is the one the skin hands on to.
  HWND Skinned(HWND parent = nullptr) {
    HWND h = parent ? Child(parent, 0, 0, 60, 40) : Top(20, 20, 200, 150);
    if (!parent) tops_.push_back(h);
    ApplySkin(h);
    rec_.Clear();
    return h;
  }
};

TEST_F(SkinRouting, UnroutedMessagesPassThroughUnchangedWithTheirResult) {
  HWND h = Skinned();
  rec_.SetHandler([](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == 0x0009 || m == WM_USER + 7) return 0x5A5A;
    return std::nullopt;
  });
  EXPECT_EQ(SendMessageA(h, 0x0009, 0xBEEF, -77), 0x5A5A);
  EXPECT_EQ(SendMessageA(h, WM_USER + 7, 3, 4), 0x5A5A);
  EXPECT_TRUE(
      MatchSequence(rec_.Only({0x0009, WM_USER + 7}), {{h, 0x0009, 0xBEEF, -77}, {h, WM_USER + 7, 3, 4}}));
  EXPECT_EQ(SkinWndProc(nullptr, WM_USER + 7, 0, 0), 0);
}

TEST_F(SkinRouting, WindowWithoutItsPreviousProcedureGetsTheDefaultProcessing) {
  HWND h = Skinned();
  rec_.SetHandler([](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_GETTEXTLENGTH) return 999;
    return std::nullopt;
  });
  EXPECT_EQ(SendMessageA(h, WM_GETTEXTLENGTH, 0, 0), 999);
  HANDLE previous = RemovePropA(h, kProcAddrProp);
  rec_.Clear();
  // DefWindowProcA answers with the real length of "top"; the recorder never hears of it.
  EXPECT_EQ(SendMessageA(h, WM_GETTEXTLENGTH, 0, 0), 3);
  EXPECT_EQ(SendMessageA(h, WM_USER + 1, 0, 0), 0);
  EXPECT_TRUE(rec_.Log().empty());
  // Put back so that the teardown finds a skinned window to take apart.
  SetPropA(h, kProcAddrProp, previous);
}

TEST_F(SkinRouting, DestroyUnskinsBeforeThePreviousProcedureHearsIt) {
  HWND h = Skinned();
  const LONG_PTR skinProc = reinterpret_cast<LONG_PTR>(&SkinWndProc);
  bool checked = false;
  rec_.SetHandler([&](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_DESTROY) {
      checked = true;
      EXPECT_EQ(GetPropA(w, kProcAddrProp), nullptr);
      EXPECT_NE(GetWindowLongPtrA(w, GWLP_WNDPROC), skinProc);
      EXPECT_EQ(SkinnedCount, 0);
    }
    return std::nullopt;
  });
  DestroyWindow(h);
  EXPECT_TRUE(checked) << "WM_DESTROY did not reach the procedure read before unskinning";
  EXPECT_TRUE(MatchSequence(rec_.Only({WM_DESTROY, WM_NCDESTROY}), {{h, WM_DESTROY}, {h, WM_NCDESTROY}}));
}

TEST_F(SkinRouting, DialogIsAdoptedAfterItsOwnerHearsEnterIdle) {
  HWND owner = Skinned();
  HWND dialog = Top(60, 60, 120, 80);
  tops_.push_back(dialog);
  rec_.SetHandler([&](HWND w, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
    if (w == owner && m == WM_ENTERIDLE) {
      if (l) {
        EXPECT_EQ(GetPreviousProc(dialog), nullptr) << "adopted before the owner handled the message";
      }
      return 41;
    }
    return std::nullopt;
  });
  EXPECT_EQ(SendMessageA(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(dialog)), 41);
  EXPECT_NE(GetPreviousProc(dialog), nullptr);
  EXPECT_EQ(SkinnedCount, 2);
  EXPECT_EQ(SendMessageA(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, 0), 41) << "lParam 0 is only handed on";
  EXPECT_EQ(SkinnedCount, 2);
}

TEST_F(SkinRouting, DropDownListIsSkinnedOnceHoweverOftenItIsColoured) {
  HWND combo = Skinned();
  HWND list = Top(20, 60, 100, 80);
  tops_.push_back(list);
  const WNDPROC listProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(list, GWLP_WNDPROC));
  rec_.SetHandler([&](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (w == combo && m == WM_CTLCOLORLISTBOX) return 0x1234;
    return std::nullopt;
  });
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(SendMessageA(combo, WM_CTLCOLORLISTBOX, 0, reinterpret_cast<LPARAM>(list)), 0x1234);
  EXPECT_EQ(SkinnedCount, 2);
  // Skinning twice would have stored SkinWndProc as its own predecessor.
  EXPECT_EQ(GetPreviousProc(list), listProc);
  EXPECT_EQ(rec_.Count(combo, WM_CTLCOLORLISTBOX), 3);
}

TEST_F(SkinRouting, ActivationAdoptsOwnChildrenAndFormsOnly) {
  HWND main = Skinned();
  HWND child = Child(main, 5, 5, 30, 20);  // created after the skin went on
  HWND form = Form(300, 300, 100, 100);
  HWND stranger = Top(400, 400, 50, 50);
  tops_.push_back(stranger);
  rec_.SetHandler([&](HWND w, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
    if (w == main && m == WM_ACTIVATE && l) {
      EXPECT_NE(GetPreviousProc(reinterpret_cast<HWND>(l)) != nullptr, reinterpret_cast<HWND>(l) == stranger)
          << "adoption comes before handing on";
    }
    return std::nullopt;
  });
  rec_.Clear();
  for (HWND other : {child, form, stranger})
    SendMessageA(main, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(other));
  SendMessageA(main, WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_NE(GetPreviousProc(child), nullptr);
  EXPECT_NE(GetPreviousProc(form), nullptr);
  EXPECT_EQ(GetPreviousProc(stranger), nullptr);
  auto asLParam = [](HWND h) { return reinterpret_cast<LPARAM>(h); };
  EXPECT_TRUE(MatchSequence(
      rec_.Filtered([&](const auto& m) { return m.hwnd == main && m.msg == WM_ACTIVATE && !m.inDefProc; }),
      {{main, WM_ACTIVATE, WA_ACTIVE, asLParam(child)},
       {main, WM_ACTIVATE, WA_ACTIVE, asLParam(form)},
       {main, WM_ACTIVATE, WA_ACTIVE, asLParam(stranger)},
       {main, WM_ACTIVATE, WA_INACTIVE, 0}}));
}

TEST_F(SkinRouting, LeftButtonReleaseReturnsThePreviousResult) {
  HWND parent = Skinned();
  HWND h = Skinned(parent);
  rec_.SetHandler([](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_LBUTTONUP) return 17;
    return std::nullopt;
  });
  EXPECT_EQ(SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(3, 4)), 17);
  EXPECT_EQ(SendMessageA(parent, WM_LBUTTONUP, 0, MAKELPARAM(3, 4)), 17) << "a window without parent";
  EXPECT_TRUE(MatchSequence(rec_.Only({WM_LBUTTONUP}), {{h, WM_LBUTTONUP, 0, MAKELPARAM(3, 4)},
                                                        {parent, WM_LBUTTONUP, 0, MAKELPARAM(3, 4)}}));
}

}  // namespace
