// The push-button fade and the messages that choose its face: the number of timer steps, the
// press, release and space key looks, dragging off while captured, enabling, focus, resizing, and
// leave tracking. The button's own procedure sits behind a recorder, so the test sees what the skin
// hands on and when.
#include <gtest/gtest.h>

#include <vector>

#include "skin/button_faces.h"
#include "skin/skin_install.h"
#include "skin/skin_props.h"
#include "skin/skin_state.h"
#include "skin/wndproc/button_messages.h"
#include "skin_test_dc.h"
#include "skin_window_fixture.h"

namespace {

using namespace skin;
namespace pt = platform::testing;
using Pixels = std::vector<COLORREF>;

constexpr int kW = 69;
constexpr int kH = 21;

// The levels "ALPHALEVEL" holds after each step of a fade that starts at `from`: every step paints
// at the current level and adds 3; the step that passes 255 ends the fade at 0.
std::vector<std::int32_t> LevelsAfterEachStep(std::int32_t from) {
  std::vector<std::int32_t> levels;
  for (std::int32_t a = from; a <= 255; a += 3) levels.push_back(a + 3 > 255 ? 0 : a + 3);
  return levels;
}

struct ButtonProps {
  std::int32_t state, level, mouseFlag, timer;
  bool operator==(const ButtonProps&) const = default;
};
void PrintTo(const ButtonProps& p, std::ostream* os) {
  *os << "{state " << p.state << ", level " << p.level << ", mouse " << p.mouseFlag << ", timer " << p.timer
      << "}";
}

// Between the skin and the button's own procedure: the level each handed-on tick finds.
struct TickSpy {
  static inline WNDPROC next = nullptr;
  static inline std::vector<std::int32_t>* levels = nullptr;
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_TIMER && levels) levels->push_back(GetIntProp(h, kAlphaLevelProp));
    return CallWindowProcA(next, h, m, w, l);
  }
};

class ButtonFade : public skintest::SkinWindowTest {
 protected:
  void SetUp() override {
    skintest::SkinWindowTest::SetUp();
    form_ = Form(50, 40, 300, 200);
    button_ = Control(form_, "Button", WS_TABSTOP, 10, 10, kW, kH, "画图1");
    other_ = Control(form_, "Button", WS_TABSTOP, 10, 50, kW, kH, "退出");
    // In front of the button's own procedure: the skin hands on to the recorder.
    rec_.Subclass(button_, "button");
    TickSpy::next = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(button_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TickSpy::Proc)));
    TickSpy::levels = &levels_;
    ApplySkin(form_);
    Pump();
    rec_.Clear();
  }
  ButtonProps Props() const {
    return {GetIntProp(button_, kOldStateProp), GetIntProp(button_, kAlphaLevelProp),
            GetIntProp(button_, kMouseFlagProp), GetIntProp(button_, kTimerIdProp)};
  }
  // Runs the timer until the fade stops; the level after each step, as the button's own procedure
  // sees it when the tick is handed on.
  std::vector<std::int32_t> RunFade() {
    levels_.clear();
    for (int guard = 0; pt::PendingTimers() > 0 && guard < 500; ++guard) {
      pt::AdvanceTime(15);
      Pump();
    }
    return levels_;
  }
  POINT ScreenAt(HWND h, int x, int y) const {
    RECT r;
    GetWindowRect(h, &r);
    return {r.left + x, r.top + y};
  }
  LPARAM ClientAt(int x, int y) const { return MAKELPARAM(x, y); }
  Pixels FacePixels(int face) const {
    HDC dc = static_cast<HDC>(GetHandleProp(button_, FaceDCProp(face)));
    Pixels all;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) all.push_back(GetPixel(dc, x, y));
    return all;
  }
  // The button as it shows on screen, without the corners the rounded region cuts away.
  Pixels Shown() const {
    Pixels all;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        const bool corner = (x < 2 || x >= kW - 2) && (y < 2 || y >= kH - 2);
        all.push_back(corner ? 0 : pt::ScreenPixel(ScreenAt(button_, x, y).x, ScreenAt(button_, x, y).y));
      }
    return all;
  }
  Pixels WithoutCorners(Pixels face) const {
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        if ((x < 2 || x >= kW - 2) && (y < 2 || y >= kH - 2)) face[y * kW + x] = 0;
    return face;
  }
  void MoveOnto(HWND h) {
    const POINT p = ScreenAt(h, kW / 2, kH / 2);
    pt::MouseMove(p.x, p.y);
    Pump();
  }

  void TearDown() override {
    TickSpy::levels = nullptr;
    skintest::SkinWindowTest::TearDown();
  }

  HWND form_ = nullptr;
  HWND button_ = nullptr;
  HWND other_ = nullptr;
  std::vector<std::int32_t> levels_;
};

TEST_F(ButtonFade, HoverFadesInOver86StepsAndAReleaseOver66) {
  MoveOnto(button_);
  EXPECT_EQ(Props(), (ButtonProps{1, 0, 1, 1}));
  EXPECT_EQ(RunFade(), LevelsAfterEachStep(0));
  EXPECT_EQ(LevelsAfterEachStep(0).size(), 86u);
  EXPECT_EQ(Props(), (ButtonProps{1, 0, 1, 0}));
  EXPECT_EQ(pt::PendingTimers(), 0u);
  // The last step blended at 255: the hover face shows exactly.
  EXPECT_EQ(Shown(), WithoutCorners(FacePixels(1)));

  SendMessageA(button_, WM_LBUTTONUP, 0, ClientAt(5, 5));
  EXPECT_EQ(Props(), (ButtonProps{0, 60, 0, 1}));
  const std::vector<std::int32_t> release = RunFade();
  EXPECT_EQ(release.size(), 66u);
  EXPECT_EQ(release, LevelsAfterEachStep(60));
  EXPECT_EQ(Props(), (ButtonProps{0, 0, 0, 0}));
  EXPECT_EQ(Shown(), WithoutCorners(FacePixels(0)));
}

// A real click: the pressed face at once, then the normal face fades in from the release level,
// with no repaint of the button on the way to cut the fade short.
TEST_F(ButtonFade, AClickShowsThePressedFaceThenFadesBackFromTheRelease) {
  MoveOnto(button_);
  RunFade();
  const POINT p = ScreenAt(button_, kW / 2, kH / 2);
  pt::MouseDown(p.x, p.y);
  Pump();
  EXPECT_EQ(Shown(), WithoutCorners(FacePixels(2)));
  EXPECT_EQ(GetIntProp(button_, kOldStateProp), 2);
  pt::MouseUp(p.x, p.y);
  Pump();
  EXPECT_EQ(Props(), (ButtonProps{0, 60, 0, 1}));
  EXPECT_EQ(RunFade(), LevelsAfterEachStep(60));
  EXPECT_EQ(rec_.Count(button_, WM_PAINT), 0);
  EXPECT_EQ(Shown(), WithoutCorners(FacePixels(0)));
}

// A click whose handler takes the skin off the button: nothing of the skin comes back after the
// button's own procedure returns, no property and no fade timer that no one would ever stop.
TEST_F(ButtonFade, AButtonUnskinnedByItsOwnClickIsLeftAlone) {
  HWND owner = Top(400, 300, 200, 100);
  tops_.push_back(owner);
  HWND button = CreateWindowExA(0, "Button", "退出", WS_CHILD | WS_VISIBLE, 10, 10, kW, kH, owner, nullptr,
                                nullptr, nullptr);
  SkinWindow(button);
  Pump();
  rec_.SetHandler([&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (h == owner && m == WM_COMMAND) UnskinWindow(button);
    return std::nullopt;
  });
  SendMessageA(button, BM_CLICK, 0, 0);
  EXPECT_EQ(rec_.Count(owner, WM_COMMAND), 1);
  EXPECT_TRUE(skintest::EnginePropsOn(button).empty());
  EXPECT_EQ(pt::PendingTimers(), 0u);
}

TEST_F(ButtonFade, EveryTimerOfTheButtonStepsTheFadeBeforeItIsHandedOn) {
  SetIntProp(button_, kAlphaLevelProp, 30);
  for (WPARAM id : {WPARAM{1}, WPARAM{77}, WPARAM{0}}) SendMessageA(button_, WM_TIMER, id, 0);
  EXPECT_EQ(levels_, (std::vector<std::int32_t>{33, 36, 39}));
  EXPECT_TRUE(hwf::test::MatchSequence(
      rec_.Only({WM_TIMER}), {{button_, WM_TIMER, 1u}, {button_, WM_TIMER, 77u}, {button_, WM_TIMER, 0u}}));
}

// Each row starts from the middle of a hover fade: hover face, level 100, tracked, timer running.
TEST_F(ButtonFade, PressReleaseAndTheSpaceKey) {
  struct Row {
    UINT msg;
    WPARAM wParam;
    ButtonProps after;
    int faceShown;  // -1: the screen stays as it was
  };
  const Row rows[] = {
      {WM_LBUTTONDOWN, MK_LBUTTON, {2, 0, 1, 0}, 2}, {WM_LBUTTONDBLCLK, MK_LBUTTON, {2, 0, 1, 0}, 2},
      {WM_LBUTTONUP, 0, {0, 60, 0, 1}, -1},          {WM_KEYDOWN, VK_SPACE, {2, 0, 1, 0}, 2},
      {WM_KEYUP, VK_SPACE, {0, 0, 0, 1}, -1},        {WM_KEYDOWN, VK_RETURN, {1, 100, 1, 1}, -1},
      {WM_KEYUP, 'A', {1, 100, 1, 1}, -1},           {WM_KEYDOWN, VK_TAB, {1, 100, 1, 1}, -1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(hwf::test::MessageName(row.msg) + " " + std::to_string(row.wParam));
    StopHoverTimer(button_);
    SetIntProp(button_, kOldStateProp, 1);
    SetIntProp(button_, kAlphaLevelProp, 100);
    SetIntProp(button_, kMouseFlagProp, 1);
    StartHoverTimer(button_);
    const Pixels before = Shown();
    rec_.Clear();
    SendMessageA(button_, row.msg, row.wParam, ClientAt(5, 5));
    EXPECT_EQ(rec_.Count(button_, row.msg), 1) << "handed on";
    EXPECT_EQ(Props(), row.after);
    EXPECT_EQ(pt::PendingTimers(), row.after.timer ? 1u : 0u);
    EXPECT_EQ(Shown(), row.faceShown < 0 ? before : WithoutCorners(FacePixels(row.faceShown)));
    Pump();
  }
}

TEST_F(ButtonFade, DraggedOffWhileHeldTheButtonStaysFullyPressed) {
  MoveOnto(button_);
  const POINT p = ScreenAt(button_, kW / 2, kH / 2);
  pt::MouseDown(p.x, p.y);
  Pump();
  ASSERT_EQ(GetCapture(), button_);
  // Something restarted a fade meanwhile; the drag must end it.
  SetIntProp(button_, kAlphaLevelProp, 0);
  StartHoverTimer(button_);
  rec_.Clear();
  const POINT off = ScreenAt(other_, kW / 2, kH / 2);
  pt::MouseMove(off.x, off.y);
  Pump();
  EXPECT_EQ(rec_.Count(button_, WM_MOUSEMOVE), 1) << "the captured button hears the move";
  EXPECT_EQ(rec_.Count(button_, WM_MOUSELEAVE), 0) << "not left while it holds the capture";
  EXPECT_EQ(Props(), (ButtonProps{2, 255, 1, 0}));
  EXPECT_EQ(pt::PendingTimers(), 0u);
  EXPECT_EQ(Shown(), WithoutCorners(FacePixels(2)));
}

TEST_F(ButtonFade, EnablingAtLevelZeroShowsNothingUntilTheNextPaint) {
  SetIntProp(button_, kAlphaLevelProp, 0);
  const Pixels before = Shown();
  EnableWindow(button_, FALSE);
  EXPECT_EQ(GetIntProp(button_, kOldStateProp), 3);
  EXPECT_EQ(Shown(), before) << "blended at level 0";
  InvalidateRect(button_, nullptr, FALSE);
  Pump();
  EXPECT_EQ(Shown(), WithoutCorners(FacePixels(3)));

  SetIntProp(button_, kAlphaLevelProp, 0);
  EnableWindow(button_, TRUE);
  EXPECT_EQ(GetIntProp(button_, kOldStateProp), 0);
  InvalidateRect(button_, nullptr, FALSE);
  Pump();
  EXPECT_EQ(Shown(), WithoutCorners(FacePixels(0)));
}

TEST_F(ButtonFade, FocusRedrawsTheFacesAndFadesFromNothing) {
  const Pixels unfocused = FacePixels(0);
  SetIntProp(button_, kAlphaLevelProp, 200);
  SetFocus(button_);
  EXPECT_EQ(GetIntProp(button_, kAlphaLevelProp), 0);
  EXPECT_EQ(GetIntProp(button_, kTimerIdProp), 1);
  EXPECT_NE(FacePixels(0), unfocused) << "the focus rectangle is in the face now";
  SetIntProp(button_, kAlphaLevelProp, 200);
  SetFocus(other_);
  EXPECT_EQ(GetIntProp(button_, kAlphaLevelProp), 0);
  EXPECT_EQ(FacePixels(0), unfocused);
}

TEST_F(ButtonFade, LeavingShowsHoverAt140ThenFadesToNormalFromNothing) {
  for (VbBool probed : {VbTrue, VbFalse}) {
    SCOPED_TRACE(probed == VbTrue ? "TrackMouseEvent" : "_TrackMouseEvent");
    HasTrackMouseEvent = probed;
    pt::MouseMove(0, 0);
    Pump();
    SetIntProp(button_, kMouseFlagProp, 0);
    MoveOnto(button_);
    TRACKMOUSEEVENT query{sizeof query, TME_QUERY, button_, 0};
    TrackMouseEvent(&query);
    EXPECT_EQ(query.dwFlags, static_cast<DWORD>(TME_LEAVE)) << "leave tracking asked for";
    // The pressed face on screen, so that the blend at 140 can be seen.
    SetIntProp(button_, kOldStateProp, 2);
    SetIntProp(button_, kAlphaLevelProp, 255);
    PaintButton(button_, nullptr);
    skintest::TestDC expected(kW, kH);
    const Pixels pressed = FacePixels(2);
    expected.Paint([&](int x, int y) { return pressed[y * kW + x]; });
    HDC hover = static_cast<HDC>(GetHandleProp(button_, FaceDCProp(1)));
    AlphaBlend(expected.dc(), 0, 0, kW, kH, hover, 0, 0, kW, kH, BLENDFUNCTION{AC_SRC_OVER, 0, 140, 0});

    pt::MouseMove(0, 0);
    Pump();
    EXPECT_EQ(Props(), (ButtonProps{0, 0, 0, 1}));
    EXPECT_EQ(Shown(), WithoutCorners(expected.Pixels()));
    StopHoverTimer(button_);
  }
}

TEST_F(ButtonFade, ResizingMakesNewFaceBitmapsAndANewRegion) {
  HBITMAP old[4];
  for (int i = 0; i < 4; ++i) old[i] = static_cast<HBITMAP>(GetHandleProp(button_, FaceBitmapProp(i)));
  const skintest::LiveObjects before;
  SetWindowPos(button_, nullptr, 0, 0, 90, 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(skintest::LiveObjects(), before) << "the old bitmaps and region are freed";
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE("face " + std::to_string(i));
    HDC face = static_cast<HDC>(GetHandleProp(button_, FaceDCProp(i)));
    HBITMAP now = static_cast<HBITMAP>(GetHandleProp(button_, FaceBitmapProp(i)));
    EXPECT_EQ(GetObjectType(old[i]), 0u) << "deleted";
    EXPECT_EQ(GetCurrentObject(face, OBJ_BITMAP), now);
    BITMAP info{};
    ASSERT_EQ(GetObjectA(now, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 90);
    EXPECT_EQ(info.bmHeight, 30);
    // Redrawn at the new size: the skin frame's bottom-right corner sits in the new corner.
    EXPECT_EQ(GetPixel(face, 89, 29), GetPixel(ButtonSkinDC, 6, 21 * i + 20));
  }
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  HRGN expected = CreateRoundRectRgn(0, 0, 91, 31, 3, 3);
  EXPECT_NE(GetWindowRgn(button_, region), ERROR);
  EXPECT_TRUE(EqualRgn(region, expected));
  DeleteObject(region);
  DeleteObject(expected);
}

// A check box of the standard button class keeps its own look: the fade runs, and draws nothing.
TEST_F(ButtonFade, StandardCheckBoxPaintsItselfWhileItsTimerRuns) {
  HWND check = Control(form_, "Button", BS_AUTOCHECKBOX, 100, 10, 90, 20, "选项");
  rec_.Subclass(check, "check");
  SkinWindow(check);
  Pump();
  const POINT p = ScreenAt(check, 45, 10);
  pt::MouseMove(p.x, p.y);
  Pump();
  ASSERT_EQ(GetIntProp(check, kTimerIdProp), 1);
  auto shown = [&] {
    Pixels all;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 90; ++x)
        all.push_back(pt::ScreenPixel(ScreenAt(check, x, y).x, ScreenAt(check, x, y).y));
    return all;
  };
  const Pixels before = shown();
  for (int i = 0; i < 10; ++i) {
    pt::AdvanceTime(15);
    Pump();
  }
  EXPECT_EQ(rec_.Count(check, WM_TIMER), 10);
  EXPECT_EQ(GetIntProp(check, kAlphaLevelProp), 30);
  EXPECT_EQ(shown(), before);
  rec_.Clear();
  InvalidateRect(check, nullptr, FALSE);
  Pump();
  EXPECT_EQ(rec_.Count(check, WM_PAINT), 1) << "its paint is handed on";
  StopHoverTimer(check);
}

}  // namespace
