// Form1 as built: every windowed control where the layout puts it, with the
// classes the skin sorts by, the colours of the layout, and the start-up state.
#include "app/form1_fixture.h"
#include "app/form1_layout.h"

namespace app {
namespace {

using runtime::ControlKind;

TEST_F(Form1Test, EveryWindowedControlSitsWhereTheLayoutSays) {
  HWND f = form_->Hwnd();
  ASSERT_NE(f, nullptr) << "Form_Load takes the handle";
  RECT client;
  GetClientRect(f, &client);
  EXPECT_EQ(client.right, 952);
  EXPECT_EQ(client.bottom, 716);
  char text[128];
  GetWindowTextA(f, text, sizeof text);
  EXPECT_EQ(std::string(text), kForm1Caption);

  int windowed = 0;
  HWND expectedNext = GetWindow(f, GW_CHILD);
  for (const runtime::LayoutRow& row : Form1Layout().controls) {
    HWND h = form_->Form().ControlHwnd(row.name);
    if (!runtime::IsWindowed(row.kind)) {
      EXPECT_EQ(h, nullptr) << row.name;
      continue;
    }
    ++windowed;
    ASSERT_NE(h, nullptr) << row.name;
    EXPECT_EQ(h, expectedNext) << row.name << " is out of stacking order";
    expectedNext = GetWindow(h, GW_HWNDNEXT);
    RECT r;
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, f, reinterpret_cast<POINT*>(&r), 2);
    const runtime::PixelRect want = runtime::OuterPixels(row);
    EXPECT_EQ(r.left, want.x) << row.name;
    EXPECT_EQ(r.top, want.y) << row.name;
    EXPECT_EQ(r.right - r.left, want.width) << row.name;
    if (row.kind != ControlKind::ComboBox) {
      EXPECT_EQ(r.bottom - r.top, want.height) << row.name;
    }
    GetClassNameA(h, text, sizeof text);
    const std::string cls = text;
    switch (row.kind) {
      case ControlKind::CommandButton:
        EXPECT_EQ(cls, "Button");
        break;
      case ControlKind::TextBox:
        EXPECT_EQ(cls, "Edit");
        break;
      case ControlKind::ComboBox:
        EXPECT_EQ(cls, "ComboBox");
        EXPECT_EQ(GetWindowLongA(h, GWL_STYLE) & 3, CBS_DROPDOWN);
        break;
      case ControlKind::PictureBox:
        EXPECT_EQ(cls, "ThunderRT6PictureBoxDC");
        break;
      case ControlKind::Frame:
        EXPECT_EQ(cls, "ThunderRT6Frame");
        break;
      default:
        ADD_FAILURE() << row.name;
    }
  }
  EXPECT_EQ(windowed, 17);  // 10 buttons, Text1, Combo1, Frame1 and 4 picture boxes
  EXPECT_EQ(expectedNext, nullptr);
}

TEST_F(Form1Test, PictureBoxesDrawOnAreasFourPixelsSmaller) {
  struct {
    const char* name;
    int w, h;
    float sw;
  } boxes[] = {{"picpaint", 201, 201, 201.0f},
               {"Picture1", 737, 709, 737.0f * 15},
               {"Picture2", 201, 201, 201.0f * 15},
               {"Picture3", 205, 201, 205.0f * 15}};
  for (const auto& b : boxes) {
    runtime::PictureBox& p = Box(b.name);
    EXPECT_EQ(p.PixelWidth(), b.w) << b.name;
    EXPECT_EQ(p.PixelHeight(), b.h) << b.name;
    EXPECT_FLOAT_EQ(p.ScaleWidth(), b.sw) << b.name;
  }
}

TEST_F(Form1Test, ColoursOfTheLayoutReachTheScreen) {
  auto at = [&](int x, int y) {
    POINT p{x, y};
    ClientToScreen(form_->Hwnd(), &p);
    return platform::testing::ScreenPixel(p.x, p.y);
  };
  EXPECT_EQ(at(950, 714), 0x00F5A038u) << "form background";
  EXPECT_EQ(at(100, 100), 0x00FF8080u) << "Picture1, which covers Picture2 and Picture3";
  EXPECT_EQ(at(744 + 2 + 100, 4 + 2 + 100), 0x0080FF80u) << "picpaint";
  EXPECT_EQ(at(744 + 100, 216 + 140), 0x001D673Fu) << "Frame1 below its buttons";
  // Shape1 frames Text1 in white, two pixels wide, inside (748, 388).
  EXPECT_EQ(at(748, 450), 0x00FFFFFFu);
  EXPECT_EQ(at(749, 450), 0x00FFFFFFu);
  EXPECT_EQ(at(750, 450), 0x00F5A038u);
}

TEST_F(Form1Test, FormLoadFillsTheListSetsFlagsAndFocusesTheCanvas) {
  HWND combo = form_->Form().ControlHwnd("Combo1");
  ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 13);
  const char* want[] = {"8", "16", "24", "32", "64", "80", "100", "120", "180", "360", "720", "2012", "7200"};
  for (int i = 0; i < 13; ++i) {
    char item[16] = {};
    SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, want[i]) << i;
  }
  EXPECT_EQ(form_->Combo1Text(), "80");
  EXPECT_EQ(form_->Form().Dialog("cdl1")->Flags(), 12294u);
  EXPECT_EQ(Box("picpaint").ForeColor(), 0x00FF0000);
  EXPECT_EQ(form_->icolor(), 0);
  EXPECT_EQ(GetFocus(), Box("picpaint").Hwnd());
  const std::vector<HWND> stops = form_->Form().TabStops();
  ASSERT_GE(stops.size(), 5u);
  EXPECT_EQ(stops[4], form_->Form().ControlHwnd("cmdexit")) << "the covered exit button is the fifth stop";
  EXPECT_TRUE(reports_.empty());
}

TEST_F(Form1Test, ExitEndsAtOnceAndClosingEndsToo) {
  form_->Form().RaiseEvent("Command4_Click");
  // The exit button lies under Picture1: the keyboard is the way to it.
  SetFocus(form_->Form().ControlHwnd("cmdexit"));
  platform::testing::KeyDown(VK_SPACE);
  platform::testing::KeyUp(VK_SPACE);
  MSG key;
  for (int i = 0; i < 100 && PeekMessageA(&key, nullptr, 0, 0, PM_REMOVE) && key.message != WM_QUIT; ++i)
    DispatchMessageA(&key);
  ASSERT_EQ(key.message, static_cast<UINT>(WM_QUIT));
  EXPECT_TRUE(form_->Form().Ended());
  // The exit button's own fade (focus, space released) runs out in steps; the mode's timer is gone.
  for (int i = 0; i < 90; ++i) Advance(15);
  EXPECT_EQ(platform::testing::PendingTimers(), 0u);
  const auto before = Pixels(Box("picpaint"));
  EXPECT_FALSE(form_->Form().RaiseEvent("cmdpaint_Click")) << "no event runs after exit";
  EXPECT_EQ(Pixels(Box("picpaint")), before);
}

}  // namespace
}  // namespace app
