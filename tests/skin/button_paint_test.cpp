// Pixels of the skin on windows: the four faces of a push button, blending the current face onto
// the button, the button's own WM_PAINT, and the flat border of sunken-edge windows.
#include <gtest/gtest.h>

#include <vector>

#include "skin/button_faces.h"
#include "skin/primitives.h"
#include "skin/skin_blit.h"
#include "skin/skin_install.h"
#include "skin/skin_props.h"
#include "skin/skin_state.h"
#include "skin/wndproc/button_messages.h"
#include "skin_test_dc.h"
#include "skin_window_fixture.h"

namespace {

using namespace skin;
using Pixels = std::vector<COLORREF>;

constexpr int kW = 75;
constexpr int kH = 25;

Pixels FacePixels(HWND button, int face) {
  HDC dc = static_cast<HDC>(GetHandleProp(button, FaceDCProp(face)));
  Pixels all;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) all.push_back(GetPixel(dc, x, y));
  return all;
}

class ButtonPaint : public skintest::SkinWindowTest {
 protected:
  void SetUp() override {
    skintest::SkinWindowTest::SetUp();
    form_ = Form(50, 40, 300, 200);
    button_ = Control(form_, "Button", WS_TABSTOP, 10, 10, kW, kH, "保存");
    other_ = Control(form_, "Button", WS_TABSTOP, 10, 50, kW, kH, "退出");
    ApplySkin(form_);
    Pump();
  }
  COLORREF OnScreen(HWND h, int x, int y) {
    RECT r;
    GetWindowRect(h, &r);
    return platform::testing::ScreenPixel(r.left + x, r.top + y);
  }
  HWND form_ = nullptr;
  HWND button_ = nullptr;
  HWND other_ = nullptr;
};

TEST_F(ButtonPaint, FocusRectangleIsInAllFourFacesOnlyWhileFocused) {
  SetFocus(other_);
  RenderButtonFaces(button_);
  Pixels plain[4];
  for (int i = 0; i < 4; ++i) plain[i] = FacePixels(button_, i);

  SetFocus(button_);
  ASSERT_EQ(GetFocus(), button_);
  RenderButtonFaces(button_);
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE("face " + std::to_string(i));
    // The focused face is the plain face with the dotted rectangle laid over the text box.
    skintest::TestDC expected(kW, kH);
    expected.Paint([&](int x, int y) { return plain[i][y * kW + x]; });
    const RECT box{2, 2, kW - 2, kH - 2};
    DrawFocusRect(expected.dc(), &box);
    const Pixels focused = FacePixels(button_, i);
    EXPECT_NE(focused, plain[i]);
    EXPECT_EQ(focused, expected.Pixels());
  }

  SetFocus(other_);
  RenderButtonFaces(button_);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(FacePixels(button_, i), plain[i]) << "face " << i;
}

// Each face is its 7 x 21 frame of the button skin over the whole button, with the caption centred
// in the box 2 pixels in: grey on the disabled face, black on the others.
TEST_F(ButtonPaint, FacesAreSkinFramesWithTheCaptionInItsColour) {
  SetFocus(other_);
  RenderButtonFaces(button_);
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(button_, WM_GETFONT, 0, 0));
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE("face " + std::to_string(i));
    skintest::TestDC expected(kW, kH);
    if (font) SelectObject(expected.dc(), font);
    SetBkMode(expected.dc(), TRANSPARENT);
    DrawSkinFrame(expected.dc(), 0, 0, kW, kH, ButtonSkinDC, 0, 21 * i, 7, 21, 3, 3, 3, 3);
    SetTextColor(expected.dc(), i == 3 ? 0x00968A79 : 0x00000000);
    DrawTextInBox(expected.dc(), "保存", 2, 2, kW - 4, kH - 4,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(FacePixels(button_, i), expected.Pixels());
  }
  EXPECT_NE(FacePixels(button_, 0), FacePixels(button_, 1));
  EXPECT_NE(FacePixels(button_, 1), FacePixels(button_, 2));
}

TEST_F(ButtonPaint, BlendLevelDecidesBetweenWindowAndFace) {
  skintest::TestDC target(kW, kH);
  target.Fill(0x00123456);
  const Pixels before = target.Pixels();

  SetIntProp(button_, kOldStateProp, 1);
  SetIntProp(button_, kAlphaLevelProp, 0);
  EXPECT_EQ(PaintButton(button_, target.dc()), 0);
  EXPECT_EQ(target.Pixels(), before) << "level 0 leaves the picture as it was";

  SetIntProp(button_, kAlphaLevelProp, 255);
  PaintButton(button_, target.dc());
  EXPECT_EQ(target.Pixels(), FacePixels(button_, 1)) << "level 255 shows the face exactly";
}

TEST_F(ButtonPaint, DisabledButtonBlendsTheDisabledFace) {
  EnableWindow(button_, FALSE);
  SetIntProp(button_, kOldStateProp, 0);
  SetIntProp(button_, kAlphaLevelProp, 255);
  skintest::TestDC target(kW, kH);
  PaintButton(button_, target.dc());
  EXPECT_EQ(GetIntProp(button_, kOldStateProp), 3);
  EXPECT_EQ(target.Pixels(), FacePixels(button_, 3));
  EXPECT_NE(FacePixels(button_, 3), FacePixels(button_, 0));
}

TEST_F(ButtonPaint, ButtonsSkinnedAsCheckBoxesAreNeverPainted) {
  SetIntProp(button_, kOldStyleProp, WS_CHILD | BS_AUTOCHECKBOX);
  SetIntProp(button_, kAlphaLevelProp, 255);
  skintest::TestDC target(kW, kH);
  target.Fill(0x00123456);
  const Pixels before = target.Pixels();
  PaintButton(button_, target.dc());
  EXPECT_EQ(target.Pixels(), before);
  SetIntProp(button_, kOldStyleProp, WS_CHILD | BS_GROUPBOX);
  PaintButton(button_, target.dc());
  EXPECT_EQ(target.Pixels(), before);
}

TEST_F(ButtonPaint, WithoutADCThePainterUsesTheWindowAndGivesItBack) {
  SetIntProp(button_, kOldStateProp, 2);
  SetIntProp(button_, kAlphaLevelProp, 255);
  const skintest::LiveObjects before;
  PaintButton(button_, nullptr);
  EXPECT_EQ(skintest::LiveObjects(), before);
  const Pixels pressed = FacePixels(button_, 2);
  for (int y = 3; y < kH - 3; y += 5)
    for (int x = 3; x < kW - 3; x += 7)
      EXPECT_EQ(OnScreen(button_, x, y), pressed[y * kW + x]) << x << "," << y;
}

// The push button's own procedure never paints: its WM_PAINT ends the fade and shows the face.
TEST_F(ButtonPaint, PaintMessageShowsTheCurrentFaceFullyAndStopsTheFade) {
  HWND check = Control(form_, "Button", BS_AUTOCHECKBOX, 100, 10, 90, 20, "选项");
  HWND button = Control(form_, "Button", 0, 100, 50, kW, kH, "画图1");
  rec_.Subclass(check, "check");
  rec_.Subclass(button, "button");
  SkinWindow(check);
  SkinWindow(button);
  SetFocus(other_);
  // The focus change starts fades of its own; only the one started below may run.
  for (HWND b : {button_, other_}) StopHoverTimer(b);
  StartHoverTimer(button);
  SetIntProp(button, kAlphaLevelProp, 30);
  ASSERT_EQ(platform::testing::PendingTimers(), 1u);
  rec_.Clear();

  InvalidateRect(button, nullptr, TRUE);
  InvalidateRect(check, nullptr, TRUE);
  Pump();
  EXPECT_EQ(rec_.Count(button, WM_PAINT), 0);
  EXPECT_GE(rec_.Count(check, WM_PAINT), 1) << "a check box of the button class paints itself";
  EXPECT_EQ(GetIntProp(button, kAlphaLevelProp), 255);
  EXPECT_EQ(GetIntProp(button, kTimerIdProp), 0);
  EXPECT_EQ(platform::testing::PendingTimers(), 0u);
  const Pixels normal = FacePixels(button, 0);
  for (int y = 2; y < kH - 2; ++y)
    for (int x = 2; x < kW - 2; ++x) ASSERT_EQ(OnScreen(button, x, y), normal[y * kW + x]) << x << "," << y;
}

class FlatBorder : public skintest::SkinWindowTest {};

TEST_F(FlatBorder, SunkenEdgeBecomesOneColouredLineAndBackgroundFrames) {
  HWND form = Form(50, 40, 300, 200);
  HWND sunken = Child(form, 10, 10, 60, 40, WS_CHILD | WS_VISIBLE, WS_EX_CLIENTEDGE);
  HWND flat = Child(form, 100, 10, 60, 40, WS_CHILD | WS_VISIBLE, 0);
  ApplySkin(form);
  Pump();
  RECT wr, cr;
  GetWindowRect(sunken, &wr);
  GetClientRect(sunken, &cr);
  const int W = wr.right - wr.left, H = wr.bottom - wr.top;
  const int bx = ((W - cr.right) + 1) / 2;  // even frames here, so no tie to break
  ASSERT_GE(bx, 1);
  HDC client = GetDC(sunken);
  const COLORREF background = GetBkColor(client);
  ReleaseDC(sunken, client);

  auto at = [&](int x, int y) { return platform::testing::ScreenPixel(wr.left + x, wr.top + y); };
  SendMessageA(sunken, WM_NCPAINT, 1, 0);
  for (auto [x, y] : {std::pair{0, 0}, {W - 1, 0}, {0, H - 1}, {W - 1, H - 1}, {W / 2, 0}, {0, H / 2}})
    EXPECT_EQ(at(x, y), 0x00D5A554u) << x << "," << y;
  for (int d = 1; d <= bx; ++d) {
    EXPECT_EQ(at(d, H / 2), background) << "left line " << d;
    EXPECT_EQ(at(W / 2, d), background) << "top line " << d;
  }
  // Every inner frame ends on the same right column and bottom row.
  EXPECT_EQ(at(W - 2, H / 2), background);
  EXPECT_EQ(at(W / 2, H - 2), background);

  EnableWindow(sunken, FALSE);
  SendMessageA(sunken, WM_NCPAINT, 1, 0);
  EXPECT_EQ(at(0, 0), 0x00E9CFA4u);
  EXPECT_EQ(at(W - 1, H / 2), 0x00E9CFA4u);

  RECT fr;
  GetWindowRect(flat, &fr);
  SendMessageA(flat, WM_NCPAINT, 1, 0);
  EXPECT_NE(platform::testing::ScreenPixel(fr.left, fr.top), 0x00D5A554u) << "no sunken edge, no border";
}

}  // namespace
