// Putting the skin on a window tree and taking it off again: what each class group receives, what
// removal gives back, and that nothing is left behind after many rounds.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "skin/skin_install.h"
#include "skin/skin_props.h"
#include "skin/skin_state.h"
#include "skin/wndproc/button_messages.h"
#include "skin/wndproc/skin_wndproc.h"
#include "skin_window_fixture.h"

namespace {

using namespace skin;
using skintest::EnginePropsOn;
using Props = std::vector<std::string>;

class SkinInstall : public skintest::SkinWindowTest {};

TEST_F(SkinInstall, SecondApplyOnTheSameWindowChangesNothing) {
  HWND form = Form();
  Control(form, "Button", BS_PUSHBUTTON, 10, 10, 75, 25, "画图1");
  ASSERT_EQ(ApplySkin(form), 1);
  EXPECT_EQ(SkinReady, VbTrue);
  EXPECT_EQ(HasTrackMouseEvent, VbTrue);
  EXPECT_EQ(SkinnedCount, 2);
  HDC buttonSkin = ButtonSkinDC;
  ASSERT_NE(buttonSkin, nullptr);
  const skintest::LiveObjects before;

  EXPECT_EQ(ApplySkin(form), 0);
  EXPECT_EQ(SkinnedCount, 2);
  EXPECT_EQ(ButtonSkinDC, buttonSkin) << "the skin bitmaps were built again";
  EXPECT_EQ(skintest::LiveObjects(), before);
  EXPECT_EQ(ApplySkin(nullptr), 0);
  EXPECT_EQ(SkinWindow(nullptr), 0);
  EXPECT_EQ(UnskinWindow(nullptr), 0);
}

TEST_F(SkinInstall, PushButtonGetsFacesOwnerDrawStateAndRoundedRegion) {
  HWND form = Form();
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
  HWND button = Control(form, "Button", style, 10, 10, 75, 25, "保存");
  ApplySkin(form);

  EXPECT_EQ(EnginePropsOn(button),
            (Props{"HDC0", "BMP0", "HDC1", "BMP1", "HDC2", "BMP2", "HDC3", "BMP3", "OLDSTYLE", "MOUSEFLAG",
                   "TIMERID", "OLDSTATE", "ALPHALEVEL", "PROCADDR"}));
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE("face " + std::to_string(i));
    HDC face = static_cast<HDC>(GetHandleProp(button, FaceDCProp(i)));
    HGDIOBJ bitmap = GetHandleProp(button, FaceBitmapProp(i));
    ASSERT_NE(face, nullptr);
    BITMAP bm{};
    ASSERT_EQ(GetObjectA(bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 75);
    EXPECT_EQ(bm.bmHeight, 25);
    EXPECT_EQ(GetCurrentObject(face, OBJ_BITMAP), bitmap) << "BMP must be the bitmap selected into HDC";
  }
  EXPECT_EQ(GetIntProp(button, kOldStyleProp), static_cast<std::int32_t>(style));
  EXPECT_EQ(GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  EXPECT_EQ(GetIntProp(button, kOldStateProp), 0);
  EXPECT_EQ(GetIntProp(button, kAlphaLevelProp), 0);
  EXPECT_EQ(GetIntProp(button, kTimerIdProp), 0);

  HRGN expected = CreateRoundRectRgn(0, 0, 76, 26, 3, 3);
  HRGN actual = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(button, actual), ERROR);
  EXPECT_TRUE(EqualRgn(actual, expected));
  DeleteObject(expected);
  DeleteObject(actual);
}

TEST_F(SkinInstall, DisabledPushButtonStartsInTheDisabledState) {
  HWND form = Form();
  HWND off = Control(form, "Button", WS_DISABLED, 10, 10, 75, 25, "退出");
  HWND on = Control(form, "Button", 0, 10, 40, 75, 25, "退出");
  ApplySkin(form);
  EXPECT_EQ(GetIntProp(off, kOldStateProp), 3);
  EXPECT_EQ(GetIntProp(on, kOldStateProp), 0);
}

TEST_F(SkinInstall, ButtonClassCheckBoxKeepsItsStyleButGetsFacesAndRegion) {
  HWND form = Form();
  HWND check = Control(form, "Button", BS_AUTOCHECKBOX, 10, 10, 90, 20, "选项");
  HWND radio = Control(form, "Button", BS_RADIOBUTTON, 10, 40, 90, 20, "单选");
  HWND group = Control(form, "Button", BS_GROUPBOX, 10, 70, 90, 60, "分组");
  ApplySkin(form);
  for (HWND h : {check, radio, group}) {
    const LONG style = GetWindowLongA(h, GWL_STYLE);
    EXPECT_EQ(GetIntProp(h, kOldStyleProp), style);
    EXPECT_NE(style & BS_TYPEMASK, BS_OWNERDRAW);
    for (int i = 0; i < 4; ++i) EXPECT_NE(GetHandleProp(h, FaceDCProp(i)), nullptr);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(h, region), ERROR);
    DeleteObject(region);
  }
  EXPECT_EQ(GetWindowLongA(check, GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
  EXPECT_EQ(GetWindowLongA(radio, GWL_STYLE) & BS_TYPEMASK, BS_RADIOBUTTON);
  EXPECT_EQ(GetWindowLongA(group, GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
}

TEST_F(SkinInstall, EachGroupGetsItsOwnProperties) {
  for (const char* cls : {"SysHeader32", "ThunderRT6ComboBox", "ThunderRT6CheckBox", "ThunderOptionButton",
                          "ThunderRT6DriveListBox", "ProgressBar20WndClass", "DataListWndClass", "ComboLBox",
                          "ApexGrid.Grid7", "Static"})
    skintest::RegisterPlainClass(cls);
  HWND form = Form();
  HWND header = Control(form, "SysHeader32", 0, 0, 0, 200, 20);
  HWND combo = Control(form, "ThunderRT6ComboBox", 0, 0, 30, 120, 21);
  HWND drive = Control(form, "ThunderRT6DriveListBox", 0, 0, 60, 120, 21);
  HWND checkBox = Control(form, "ThunderRT6CheckBox", 0, 0, 90, 120, 20);
  HWND option = Control(form, "ThunderOptionButton", 0, 0, 120, 120, 20);
  HWND plain[] = {Control(form, "ProgressBar20WndClass", 0, 130, 0, 100, 20),
                  Control(form, "DataListWndClass", 0, 130, 30, 100, 60),
                  Control(form, "ComboLBox", 0, 130, 100, 100, 60),
                  Control(form, "ApexGrid.Grid7", 0, 130, 170, 100, 20)};
  ApplySkin(form);

  EXPECT_EQ(EnginePropsOn(header), (Props{"MOUSEFLAG", "HDINDEX", "HMINDEX", "PROCADDR"}));
  EXPECT_EQ(GetIntProp(header, kHdIndexProp), -1);
  EXPECT_EQ(GetIntProp(header, kHmIndexProp), -1);
  EXPECT_EQ(GetIntProp(header, kMouseFlagProp), 0);
  for (HWND h : {combo, drive, checkBox, option})
    EXPECT_EQ(EnginePropsOn(h), (Props{"MOUSEFLAG", "OLDSTATE", "PROCADDR"}));
  for (HWND h : plain) EXPECT_EQ(EnginePropsOn(h), (Props{"PROCADDR"}));
  EXPECT_EQ(EnginePropsOn(form), (Props{"PROCADDR"}));
  EXPECT_EQ(SkinnedCount, 10);
}

// The installation order as the main window sees it: every descendant fully installed (frame
// painted through the skin) before the form itself is subclassed.
TEST_F(SkinInstall, DescendantsAreSkinnedBeforeTheForm) {
  skintest::RegisterPlainClass("Static");
  HWND form = Form();
  HWND frame = Control(form, kFormClass, 0, 10, 10, 200, 100);
  HWND inner = Control(frame, "Static", 0, 5, 5, 50, 20);
  std::vector<HWND> order;
  static std::vector<HWND>* seen = nullptr;
  seen = &order;
  struct Spy {
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
      if (m == WM_NCPAINT && w == 1 &&
          GetWindowLongPtrA(h, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SkinWndProc))
        seen->push_back(h);
      return DefWindowProcA(h, m, w, l);
    }
  };
  for (HWND h : {form, frame, inner})
    SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Spy::Proc));
  ApplySkin(form);
  EXPECT_EQ(order, (std::vector<HWND>{inner, frame, form}));
  for (HWND h : {form, frame, inner}) EXPECT_EQ(GetPreviousProc(h), &Spy::Proc);
  seen = nullptr;
}

// What each window holds at the moment its original procedure hears WM_DESTROY.
struct DestroyRecord {
  std::vector<std::string> props;
  bool ownProcInstalled = false;
};
std::map<HWND, WNDPROC> g_original;
std::map<HWND, DestroyRecord> g_atDestroy;

LRESULT CALLBACK DestroySpy(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_DESTROY)
    g_atDestroy[h] = {EnginePropsOn(h),
                      GetWindowLongPtrA(h, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&DestroySpy)};
  return CallWindowProcA(g_original[h], h, m, w, l);
}

TEST_F(SkinInstall, DestroyingTheMainWindowTakesEverythingBack) {
  skintest::RegisterPlainClass("SysHeader32");
  skintest::RegisterPlainClass("ThunderRT6CheckBox");
  auto build = [this] {
    HWND form = Form();
    std::vector<HWND> all = {form,
                             Control(form, "Button", 0, 10, 10, 75, 25, "画图1"),
                             Control(form, "Button", BS_AUTOCHECKBOX, 10, 40, 75, 25, "选"),
                             Control(form, "SysHeader32", 0, 100, 10, 100, 20),
                             Control(form, "ThunderRT6CheckBox", 0, 100, 40, 100, 20),
                             Control(form, kFormClass, 0, 100, 70, 150, 100)};
    all.push_back(Control(all.back(), "Button", 0, 5, 5, 69, 21, "内"));
    return all;
  };
  // The same tree made and destroyed without the skin gives what the platform alone leaves alive.
  DestroyWindow(build().front());
  const skintest::LiveObjects baseline;

  std::vector<HWND> all = build();
  g_original.clear();
  g_atDestroy.clear();
  for (HWND h : all)
    g_original[h] = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DestroySpy)));
  ASSERT_EQ(ApplySkin(all.front()), 1);
  ASSERT_EQ(SkinnedCount, static_cast<std::int32_t>(all.size()));
  Pump();

  DestroyWindow(all.front());
  ASSERT_EQ(g_atDestroy.size(), all.size());
  for (HWND h : all) {
    EXPECT_EQ(g_atDestroy[h].props, Props{});
    EXPECT_TRUE(g_atDestroy[h].ownProcInstalled) << "the procedure in place before was not put back";
  }
  EXPECT_EQ(SkinnedCount, 0);
  EXPECT_EQ(SkinReady, VbFalse);
  for (HDC dc : {ButtonSkinDC, ComboSkinDC, MarkSkinDC, BoxSkinDC, HeaderSkinDC}) EXPECT_EQ(dc, nullptr);
  EXPECT_EQ(skintest::LiveObjects(), baseline);
  EXPECT_EQ(platform::testing::PendingTimers(), 0u);
}

TEST_F(SkinInstall, RemovalRestoresStyleRegionAndProcedure) {
  HWND form = Form();
  HWND button = Control(form, "Button", BS_PUSHBUTTON, 10, 10, 75, 25, "退出");
  const LONG style = GetWindowLongA(button, GWL_STYLE);
  const LONG_PTR proc = GetWindowLongPtrA(button, GWLP_WNDPROC);
  ApplySkin(form);
  ASSERT_NE(StartHoverTimer(button), 0u);
  EXPECT_EQ(UnskinWindow(form), 1);
  EXPECT_EQ(UnskinWindow(form), 0) << "a window that is no longer skinned";
  EXPECT_EQ(GetWindowLongA(button, GWL_STYLE), style);
  EXPECT_EQ(GetWindowLongPtrA(button, GWLP_WNDPROC), proc);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(button, region), ERROR);
  DeleteObject(region);
  EXPECT_EQ(platform::testing::PendingTimers(), 0u) << "the fade timer outlived the skin";
  EXPECT_TRUE(EnginePropsOn(button).empty());
  EXPECT_EQ(SkinReady, VbFalse);
}

TEST_F(SkinInstall, ThousandRoundsLeaveNoObjectsOrProperties) {
  skintest::RegisterPlainClass("SysHeader32");
  HWND form = Form();
  std::vector<HWND> all = {form, Control(form, "Button", 0, 10, 10, 75, 25, "画图2"),
                           Control(form, "Button", BS_CHECKBOX, 10, 40, 75, 25, "选"),
                           Control(form, "SysHeader32", 0, 100, 10, 100, 20)};
  Pump();
  const skintest::LiveObjects baseline;
  std::vector<std::size_t> props;
  for (HWND h : all) props.push_back(skintest::PropertyCount(h));

  for (int round = 0; round < 1000; ++round) {
    ASSERT_EQ(ApplySkin(form), 1);
    ASSERT_EQ(UnskinWindow(form), 1);
  }
  EXPECT_EQ(skintest::LiveObjects(), baseline);
  for (std::size_t i = 0; i < all.size(); ++i) EXPECT_EQ(skintest::PropertyCount(all[i]), props[i]);
  EXPECT_EQ(SkinnedCount, 0);
}

TEST_F(SkinInstall, HoverTimerRunsOnceAndStopsCleanly) {
  HWND form = Form();
  HWND button = Control(form, "Button", 0, 10, 10, 75, 25, "画图1");
  ApplySkin(form);
  Pump();  // the first paint of a push button ends any fade, so let it happen first
  EXPECT_EQ(StopHoverTimer(button), FALSE) << "no timer runs yet";
  // That paint left the face fully shown; a tick from there would already be the fade's last.
  SetIntProp(button, kAlphaLevelProp, 0);
  EXPECT_EQ(StartHoverTimer(button), 1u);
  EXPECT_EQ(GetIntProp(button, kTimerIdProp), 1);
  EXPECT_EQ(StartHoverTimer(button), 0u) << "a second start while one runs";
  EXPECT_EQ(platform::testing::PendingTimers(), 1u);
  rec_.Subclass(button, "ticks");
  platform::testing::AdvanceTime(15);
  Pump();
  EXPECT_EQ(rec_.Count(button, WM_TIMER), 1) << "one tick after 15 ms";
  EXPECT_EQ(StopHoverTimer(button), TRUE);
  EXPECT_EQ(GetIntProp(button, kTimerIdProp), 0);
  EXPECT_EQ(platform::testing::PendingTimers(), 0u);
}

}  // namespace
